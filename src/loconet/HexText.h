// The receive hex buffer holds every received byte as two hexadecimal digits. The LocoNet code
// reads the bytes of a message straight from that text, without converting it first.
#pragma once

#include <QByteArray>

// The value of byte byteIndex (counted from 0) of the hex text, or -1 when its two characters
// are not hexadecimal digits or lie beyond the text.
inline int HexByteAt(const QByteArray& hex, qsizetype byteIndex) {
  const auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  const qsizetype at = 2 * byteIndex;
  if (at < 0 || at + 1 >= hex.size()) return -1;
  const int high = digit(hex[at]);
  const int low = digit(hex[at + 1]);
  return high < 0 || low < 0 ? -1 : high * 16 + low;
}
