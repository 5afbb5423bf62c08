#include "loconet/LocoNetMessage.h"

#include "loconet/HexText.h"

namespace {

constexpr int kOpcodeSwitchRequest = 0xB0;
// Third byte of a switch request: 0x10 switches the output on, 0x20 selects direction 0.
constexpr int kOutputOn = 0x10;
constexpr int kDirectionZero = 0x20;

QByteArray SwitchRequest(int low, int high) {
  QByteArray bytes;
  bytes.append(char(kOpcodeSwitchRequest));
  bytes.append(char(low));
  bytes.append(char(high));
  return bytes;
}

}  // namespace

QByteArray LocoNetMessage(const QByteArray& bytesWithoutCheck) {
  unsigned char x = 0;
  for (const char byte : bytesWithoutCheck) x ^= static_cast<unsigned char>(byte);
  QByteArray message = bytesWithoutCheck;
  message.append(char(x ^ 0xFF));
  return message;
}

bool LocoNetChecksumOk(const QByteArray& hex, qsizetype first, qsizetype length) {
  if (length <= 0) return false;
  int x = 0;
  for (qsizetype i = first; i < first + length; ++i) {
    const int byte = HexByteAt(hex, i);
    if (byte < 0) return false;
    x ^= byte;
  }
  return x == 0xFF;
}

bool LocoNetChecksumOk(const QByteArray& hexMessage) {
  if (hexMessage.size() % 2 != 0) return false;
  return LocoNetChecksumOk(hexMessage, 0, hexMessage.size() / 2);
}

LocoNetSwitchRequest LocoNetSwitchMessages(int turnout, int direction) {
  const int a = turnout - 1;
  const int low = a & 0x7F;
  const int high = a / 128;
  if (direction == 0) {
    return {SwitchRequest(low, high + kDirectionZero + kOutputOn),
            SwitchRequest(low, high + kDirectionZero)};
  }
  return {SwitchRequest(low, high + kOutputOn), SwitchRequest(low, high)};
}
