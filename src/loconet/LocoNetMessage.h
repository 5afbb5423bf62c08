// LocoNet messages as they go out: opcode, data bytes and a check byte that makes the
// exclusive-or of the whole message 0xFF.
#pragma once

#include <QByteArray>

// The message with its check byte appended.
QByteArray LocoNetMessage(const QByteArray& bytesWithoutCheck);

// True when the hex text (two digits a byte) is a message whose check byte is right.
bool LocoNetChecksumOk(const QByteArray& hexMessage);
// The same test for `length` bytes of the hex text, starting at byte `first`.
bool LocoNetChecksumOk(const QByteArray& hex, qsizetype first, qsizetype length);

// The two halves of a switch request, without check bytes: output on, and 200 ms later off.
struct LocoNetSwitchRequest {
  QByteArray outputOn;
  QByteArray outputOff;
};

// Turnout is counted from 1 (1 to 2048); direction 0 is the output the programming uses.
LocoNetSwitchRequest LocoNetSwitchMessages(int turnout, int direction);
