#include "loconet/LocoNetMessage.h"

#include "loconet/HexText.h"
#include "loconet/LocoNetVocabulary.h"

namespace {

QByteArray SwitchRequest(int low, int high) {
  QByteArray bytes;
  bytes.append(char(LocoNet::kSwitchRequest));
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
  using namespace LocoNet;
  const int a = turnout - 1;
  const int low = a & kTurnoutLowBits;
  const int high = a / kTurnoutsPerHighStep;
  if (direction == 0) {
    return {SwitchRequest(low, high + kSwitchDirectionZero + kSwitchOutputOn),
            SwitchRequest(low, high + kSwitchDirectionZero)};
  }
  return {SwitchRequest(low, high + kSwitchOutputOn), SwitchRequest(low, high)};
}
