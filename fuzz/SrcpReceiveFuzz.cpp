// The SRCP receive path of the link: what a server sends arrives in reads cut anywhere, and the
// link cuts it into lines (SrcpLineFramer) and reads each as a server line (ParseSrcpServerLine).
// However the stream is cut, the lines must be those of the stream split at its line ends, each
// without its CR, with a line longer than the bound dropped whole and nothing else lost; the
// unended rest kept must stay within the bound. Every line is read without failing, and a
// "416 ERROR no data" reply is read as one. A piece can be sent again and again to 16 KiB, as a
// flooding server does, to push lines past the bound.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "srcp/SrcpLineFramer.h"
#include "srcp/SrcpServerLine.h"

namespace {

constexpr qsizetype kFloodBytes = 16 * 1024;

// Each piece is a header byte and up to 64 bytes; header bit 0x40 repeats the piece to 16 KiB.
std::vector<QByteArray> Pieces(const std::uint8_t* data, std::size_t size) {
  std::vector<QByteArray> pieces = ReceiveEvents(data, size);
  std::size_t at = 0;
  for (QByteArray& piece : pieces) {
    const bool flood = data[at] & 0x40;
    at += 1 + static_cast<std::size_t>(piece.size());
    if (!flood) continue;
    const QByteArray once = piece;
    while (piece.size() < kFloodBytes) piece += once;
  }
  return pieces;
}

// The lines of the whole stream, found without the framer: split at every LF.
std::vector<QByteArray> ExpectedLines(const QByteArray& stream, QByteArray& rest) {
  std::vector<QByteArray> lines;
  QList<QByteArray> parts = stream.split('\n');
  rest = parts.takeLast();
  for (QByteArray& part : parts) {
    if (part.size() > SrcpLineFramer::kLongestLine) continue;
    if (part.endsWith('\r')) part.chop(1);
    lines.push_back(part);
  }
  if (rest.size() > SrcpLineFramer::kLongestLine) rest.clear();
  return lines;
}

// An SRCP time stamp ("1700000000.123"), then the reply.
bool IsNoDataReply(const QByteArray& line) {
  const QList<QByteArray> words = line.split(' ');
  return words.size() == 5 && words[0].contains('.') &&
         std::all_of(words[0].begin(), words[0].end(),
                     [](char c) { return (c >= '0' && c <= '9') || c == '.'; }) &&
         words.mid(1) == QList<QByteArray>({"416", "ERROR", "no", "data"});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<QByteArray> pieces = Pieces(data, size);
  SrcpLineFramer framer;
  std::vector<QByteArray> lines;
  QByteArray stream;
  for (const QByteArray& piece : pieces) {
    stream += piece;
    framer.Feed(piece, [&](const QByteArray& line) { lines.push_back(line); });
    Require(framer.Pending().size() <= SrcpLineFramer::kLongestLine,
            "the unended rest stays within the bound");
  }
  QByteArray rest;
  Require(lines == ExpectedLines(stream, rest), "the lines are those of the stream");
  Require(framer.Pending() == rest, "the unended rest is the stream's tail");
  Require(framer.LineCount() == stream.count('\n'), "every line end ends a line");
  for (const QByteArray& line : lines) {
    const SrcpServerLine parsed = ParseSrcpServerLine(line);
    Require(parsed.code == 0 || (parsed.code >= 100 && parsed.code <= 599),
            "a code is a three-digit SRCP code");
    if (IsNoDataReply(line))
      Require(parsed.code == 416 && parsed.IsReply(), "\"416 ERROR no data\" is read as a reply");
  }
  return 0;
}
