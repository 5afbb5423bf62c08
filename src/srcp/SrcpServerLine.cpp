#include "srcp/SrcpServerLine.h"

#include <cctype>

namespace {

bool IsCode(const QByteArray& word) {
  return word.size() == 3 && word[0] >= '1' && word[0] <= '5' &&
         std::isdigit(static_cast<unsigned char>(word[1])) &&
         std::isdigit(static_cast<unsigned char>(word[2]));
}

bool IsTimeStamp(const QByteArray& word) {
  if (word.isEmpty()) return false;
  for (const char c : word)
    if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.') return false;
  return true;
}

}  // namespace

bool SrcpServerLine::IsInfo(const QByteArray& bus, const QByteArray& group) const {
  return code >= 100 && code < 200 && words.size() >= 3 && words[0] == "INFO" && words[1] == bus &&
         words[2] == group;
}

SrcpServerLine ParseSrcpServerLine(const QByteArray& line) {
  SrcpServerLine parsed;
  QList<QByteArray> words = line.simplified().split(' ');
  // Servers put a time stamp first; one that leaves it out is understood all the same.
  qsizetype at = 0;
  if (words.size() > 1 && !IsCode(words[0]) && IsTimeStamp(words[0])) at = 1;
  if (at >= words.size() || !IsCode(words[at])) return parsed;
  parsed.code = words[at].toInt();
  parsed.words = words.mid(at + 1);
  parsed.message = words.mid(at).join(' ');
  return parsed;
}
