#include "loconet/LocoNetReceiver.h"

#include <algorithm>
#include <array>

#include "loconet/HexText.h"
#include "loconet/LocoNetMessage.h"
#include "loconet/LocoNetVocabulary.h"

namespace {

constexpr int kNotAMessageStart = 0;
constexpr int kLengthInByteOne = -1;

// The opcode says its message's length: bits 6 and 5 give two, four or six bytes, or (both set)
// leave it to the byte after the opcode. A byte with bit 7 clear is data and starts nothing.
// `opcode` -1 stands for two characters that are not a hex byte.
int FramedLength(int opcode) {
  constexpr int kOpcodeBit = 0x80;
  constexpr int kLengthBits = 0x60;
  constexpr int kLengthInNextByte = 0x60;
  if (opcode < 0 || !(opcode & kOpcodeBit)) return kNotAMessageStart;
  const int lengthBits = opcode & kLengthBits;
  if (lengthBits == kLengthInNextByte) return kLengthInByteOne;
  return 2 + 2 * (lengthBits >> 5);
}

// Slot states that the command station expects to be answered with a move of the slot to itself.
constexpr std::array<int, 11> kAnsweredSlotStates = {0x00, 0x02, 0x03, 0x10, 0x12, 0x13,
                                                     0x18, 0x23, 0x31, 0x32, 0x33};

void ActOn(const QByteArray& message, std::vector<LocoNetAction>& actions) {
  const qsizetype length = message.size() / 2;
  switch (HexByteAt(message, 0)) {
    case LocoNet::kPeerTransfer:
      if (HexByteAt(message, 1) == LocoNet::kBeepingPeerLength &&
          HexByteAt(message, 5) == LocoNet::kBeepingPeerByte) {
        actions.push_back({LocoNetAction::Kind::Beep, {}});
      }
      break;
    case LocoNet::kSlotData: {
      // A slot data message too short to hold slot and status is only logged.
      if (length < 4) break;
      const int slot = HexByteAt(message, 2);
      const int status = HexByteAt(message, 3);
      if (std::ranges::find(kAnsweredSlotStates, status) != kAnsweredSlotStates.end()) {
        QByteArray answer;
        answer.append(char(LocoNet::kMoveSlots));
        answer.append(char(slot));
        answer.append(char(slot));
        actions.push_back({LocoNetAction::Kind::Send, answer});
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace

LocoNetParse ParseLocoNetBuffer(QByteArray receiveHexBuffer) {
  const QByteArray& hex = receiveHexBuffer;
  const qsizetype available = hex.size() / 2;
  LocoNetParse result;
  // Everything before byte `start` is consumed; the text is cut once at the end, so a call
  // costs time in proportion to what it consumes, however many messages that is.
  qsizetype start = 0;
  while (start < available) {
    int length = FramedLength(HexByteAt(hex, start));
    if (length == kLengthInByteOne) {
      if (available - start < 2) break;
      length = HexByteAt(hex, start + 1);
      // A length of 0 or 1 cannot cover the two bytes already read: resynchronise as after a
      // byte that is not a message start.
      if (length < 2) length = kNotAMessageStart;
    }
    if (length == kNotAMessageStart) {
      // A byte lost from a message, or noise: the message after it is framed at once, so that
      // an echo behind a stray byte still arrives within its step.
      ++start;
      continue;
    }
    if (available - start < length) break;
    const qsizetype first = start;
    start += length;
    if (!LocoNetChecksumOk(hex, first, length)) continue;
    const QByteArray message = hex.mid(2 * first, 2 * length);
    result.actions.push_back({LocoNetAction::Kind::LogLine, message});
    ActOn(message, result.actions);
  }
  receiveHexBuffer.remove(0, 2 * start);
  result.rest = std::move(receiveHexBuffer);
  return result;
}
