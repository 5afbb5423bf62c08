// Every byte received on the serial port and not yet consumed, as two upper-case hex digits a
// byte without separators; the LocoNet and Lenz parsers consume it from the front.
#pragma once

#include <QByteArray>

class ReceiveHexBuffer {
 public:
  // Links that never consume the buffer would grow it for the whole run; the newest bytes are
  // what a user or a later parser could want.
  static constexpr qsizetype kLimit = 2 * 64 * 1024;

  void Append(const QByteArray& bytes) {
    text.append(bytes.toHex().toUpper());
    if (text.size() > kLimit) text.remove(0, text.size() - kLimit);
  }

  QByteArray text;
};
