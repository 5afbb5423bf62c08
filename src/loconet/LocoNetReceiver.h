// Framing of received LocoNet messages: takes the receive hex buffer, cuts the complete
// messages from its front and says what to do with each, without touching a port or a window.
#pragma once

#include <QByteArray>
#include <vector>

struct LocoNetAction {
  enum class Kind {
    LogLine,  // add bytes (the message's hex text, e.g. "837C") as one line to the receive log
    Beep,     // the message beep, type 0
    Send,     // send bytes as a LocoNet message; the check byte is still to be appended
  };
  Kind kind;
  QByteArray bytes;

  bool operator==(const LocoNetAction&) const = default;
};

struct LocoNetParse {
  QByteArray rest;                     // the receive hex buffer after this call
  std::vector<LocoNetAction> actions;  // in the order they must happen
};

// Frames, checks and interprets the complete messages at the front of the buffer (two
// upper-case hex digits a byte), each by the length its opcode encodes. A byte that cannot start
// a message is dropped and framing goes on after it; an incomplete message stays for the next
// call. The buffer is taken by value so that a
// caller who moves it in has the consumed front cut without copying the rest.
LocoNetParse ParseLocoNetBuffer(QByteArray receiveHexBuffer);
