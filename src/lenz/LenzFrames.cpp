#include "lenz/LenzFrames.h"

#include <QString>

namespace {

constexpr int kDataCountBits = 0x0F;
// Header and check byte around the data bytes.
constexpr int kFrameOverhead = 2;

// Bytes in a frame whose header has `digit` as its second, low hex digit. The receive handler
// writes only hex digits; anything else counts as 0 rather than stalling the buffer.
int FrameLength(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0' + kFrameOverhead;
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10 + kFrameOverhead;
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10 + kFrameOverhead;
  return kFrameOverhead;
}

}  // namespace

QByteArray BuildLenzFrame(LenzFrameBuffer& table) {
  const int dataBytes = table[0] & kDataCountBits;
  table[kLenzRunningXorEntry] = 0;
  QByteArray frame;
  for (int i = 0; i <= dataBytes; ++i) {
    table[kLenzRunningXorEntry] ^= table[i];
    frame.append(char(table[i]));
  }
  frame.append(char(table[kLenzRunningXorEntry]));
  return frame;
}

LenzParse ParseLenzBuffer(QByteArray receiveHexBuffer) {
  const QByteArray& hex = receiveHexBuffer;
  LenzParse result;
  // Characters before `consumed` belong to logged frames; the text is cut once at the end.
  qsizetype consumed = 0;
  while (hex.size() - consumed >= 2) {
    const int length = FrameLength(hex[consumed + 1]);
    if (hex.size() - consumed < 2 * length) break;
    // Every byte's two digits followed by a blank.
    QString line(3 * length, QLatin1Char(' '));
    for (int i = 0; i < length; ++i) {
      line[3 * i] = QLatin1Char(hex[consumed + 2 * i]);
      line[3 * i + 1] = QLatin1Char(hex[consumed + 2 * i + 1]);
    }
    result.lines.append(std::move(line));
    consumed += 2 * length;
  }
  receiveHexBuffer.remove(0, consumed);
  result.rest = std::move(receiveHexBuffer);
  return result;
}
