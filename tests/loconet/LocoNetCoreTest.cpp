// How LocoNet's receive handler frames, logs and answers what arrives. (The switch requests of a
// run go out in the links' and the end-to-end tests.)
#include <gtest/gtest.h>

#include "loconet/LocoNetMessage.h"
#include "loconet/LocoNetReceiver.h"

namespace {

constexpr auto Bytes = &QByteArray::fromHex;

using Kind = LocoNetAction::Kind;
using Actions = std::vector<LocoNetAction>;

// A message with its check byte, as hex text.
const auto HexText = [](const QByteArray& m) { return LocoNetMessage(m).toHex().toUpper(); };
const auto Logged = [](const QByteArray& hex) { return LocoNetAction{Kind::LogLine, hex}; };
const LocoNetAction kBeep{Kind::Beep, {}};
const LocoNetAction kMoveSlot5{Kind::Send, QByteArray::fromHex("BA 05 05")};

// Slot data for slot 5 with the given status: E7, length 0x0E, slot, status, ten data bytes.
QByteArray SlotDataHex(int status) {
  QByteArray bytes = QByteArray::fromHex("E7 0E 05 00 01 02 03 04 05 06 07 08 09");
  bytes[3] = char(status);
  return HexText(bytes);
}

// Peer transfer; the beep depends on byte 1 (the length) and byte 5.
QByteArray PeerTransferHex(int length, int byte5) {
  QByteArray bytes(length - 1, '\0');
  bytes[0] = char(0xE5);
  bytes[1] = char(length);
  bytes[5] = char(byte5);
  return HexText(bytes);
}

// Receive events one after the other, as the receive handler parses them: the buffer after
// each, and everything logged.
struct EventsCase {
  std::vector<QByteArray> events;
  std::vector<QByteArray> buffers;
  std::vector<QByteArray> logged;
};

// The opcode's bits 6 and 5 give the length (two, four, six bytes, or byte 1's value); data
// bytes (bit 7 clear) before an opcode are skipped in the same call.
TEST(LocoNetReceiver, MessagesAreFramedByTheLengthTheirOpcodeEncodes) {
  const QByteArray slot = SlotDataHex(0x01);
  const QByteArray shortE0 = HexText(Bytes("E0 04 00")),
                   sixBytes = HexText(Bytes("C0 01 02 03 04"));
  const QByteArray opcode84 = HexText(Bytes("84")), opcodeB3 = HexText(Bytes("B3 01 02"));
  const EventsCase cases[] = {
      {{"B0", "0030", "7F"}, {"B0", "B00030", ""}, {"B000307F"}},
      // A variable-length message waits for its length byte, then for its last byte.
      {{"E7", slot.mid(2, 20), slot.mid(22)}, {"E7", slot.left(22), ""}, {slot}},
      // Stray data bytes delay nothing: the echo behind them is framed at once.
      {{"0D837C", "827D"}, {"", ""}, {"837C", "827D"}},
      {{"00B000307F"}, {""}, {"B000307F"}},
      {{"7D837C"}, {""}, {"837C"}},
      {{"007F0D"}, {""}, {}},
      // Every opcode is framed, each group by its own length.
      {{shortE0 + sixBytes}, {""}, {shortE0, sixBytes}},
      {{opcode84 + opcodeB3}, {""}, {opcode84, opcodeB3}},
      {{"C0010203"}, {"C0010203"}, {}},
      // A variable length of zero or one is no message: its opcode is dropped.
      {{"E500837C", "", ""}, {"", "", ""}, {"837C"}},
      {{"E501837C"}, {""}, {"837C"}},
      {{"E01200"}, {"E01200"}, {}},
      {{"E50F0000"}, {"E50F0000"}, {}},
      {{"D000000000"}, {"D000000000"}, {}},
  };
  for (const EventsCase& c : cases) {
    QByteArray buffer;
    std::vector<QByteArray> logged;
    for (std::size_t i = 0; i < c.events.size(); ++i) {
      const LocoNetParse parsed = ParseLocoNetBuffer(std::exchange(buffer, {}) + c.events[i]);
      EXPECT_EQ(buffer = parsed.rest, c.buffers[i]) << c.events[0].constData() << " event " << i;
      for (const LocoNetAction& action : parsed.actions) logged.push_back(action.bytes);
    }
    EXPECT_EQ(logged, c.logged) << c.events[0].constData();
  }
}

// A message with a wrong check byte is skipped whole and not answered; only a peer transfer of
// length 0F with byte 5 = 11 beeps.
TEST(LocoNetReceiver, MessagesInOneEventAreLoggedAndActedOnInOrder) {
  const QByteArray slotData = SlotDataHex(0x33), beeping = PeerTransferHex(0x0F, 0x11);
  const QByteArray quiet[] = {PeerTransferHex(0x10, 0x11), PeerTransferHex(0x0F, 0x10)};
  QByteArray corrupt = slotData;
  corrupt[corrupt.size() - 1] = corrupt.back() == '0' ? '1' : '0';
  EXPECT_EQ(ParseLocoNetBuffer("837C" + slotData + beeping + "B000307E" + corrupt + quiet[0] +
                               quiet[1] + "827D")
                .actions,
            (Actions{Logged("837C"), Logged(slotData), kMoveSlot5, Logged(beeping), kBeep,
                     Logged(quiet[0]), Logged(quiet[1]), Logged("827D")}));
}

TEST(LocoNetReceiver, SlotDataIsAnsweredWithMoveSlotsOnlyForTheListedStates) {
  for (const int status : {0x00, 0x02, 0x03, 0x10, 0x12, 0x13, 0x18, 0x23, 0x31, 0x32, 0x33}) {
    const QByteArray message = SlotDataHex(status);
    EXPECT_EQ(ParseLocoNetBuffer(message).actions, (Actions{Logged(message), kMoveSlot5}))
        << status;
  }
  for (const int status : {0x01, 0x11, 0x20, 0x30, 0x34, 0x7F}) {
    const QByteArray message = SlotDataHex(status);
    EXPECT_EQ(ParseLocoNetBuffer(message).actions, Actions{Logged(message)}) << status;
  }
  // Too short for slot and status: only logged.
  const QByteArray threeBytes = HexText(QByteArray::fromHex("E7 03"));
  EXPECT_EQ(ParseLocoNetBuffer(threeBytes + "837C").actions,
            (Actions{Logged(threeBytes), Logged("837C")}));
}

}  // namespace
