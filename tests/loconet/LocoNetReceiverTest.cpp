#include "loconet/LocoNetReceiver.h"

#include <gtest/gtest.h>

#include "LocoNetActionPrinter.h"
#include "ReceiveEvents.h"
#include "loconet/LocoNetMessage.h"

namespace {

using Kind = LocoNetAction::Kind;

LocoNetAction Logged(const char* spacedHex) {
  return {Kind::LogLine, Hex(spacedHex)};
}
LocoNetAction Beeped() {
  return {Kind::Beep, {}};
}
LocoNetAction Answered(const char* spacedBytes) {
  return {Kind::Send, QByteArray::fromHex(spacedBytes)};
}

// A serial line feeding the parser one receive event at a time, as the receive handler does.
class Line {
 public:
  // Returns the actions of this one event.
  std::vector<LocoNetAction> Receive(const char* spacedHex) {
    buffer_ += Hex(spacedHex);
    LocoNetParse parsed = ParseLocoNetBuffer(buffer_);
    buffer_ = parsed.rest;
    return parsed.actions;
  }
  const QByteArray& Buffer() const { return buffer_; }

 private:
  QByteArray buffer_;
};

// Slot data for slot 5 with the given status: E7, length 0x0E, slot, status, ten data bytes.
QByteArray SlotDataHex(int status) {
  QByteArray bytes = QByteArray::fromHex("E7 0E 05 00 01 02 03 04 05 06 07 08 09");
  bytes[3] = char(status);
  return HexText(LocoNetMessage(bytes));
}

// Peer transfer, 15 bytes; the beep depends on byte 1 (the length) and byte 5.
QByteArray PeerTransferHex(int length, int byte5) {
  QByteArray bytes(length - 1, '\0');
  bytes[0] = char(0xE5);
  bytes[1] = char(length);
  bytes[5] = char(byte5);
  return HexText(LocoNetMessage(bytes));
}

std::vector<LocoNetAction> ParseAll(const QByteArray& hex) {
  return ParseLocoNetBuffer(hex).actions;
}

TEST(LocoNetReceiver, MessageArrivingOverSeveralEventsIsLoggedOnceWhenComplete) {
  Line line;
  EXPECT_TRUE(line.Receive("B0").empty());
  EXPECT_TRUE(line.Receive("00 30").empty());
  EXPECT_EQ(line.Buffer(), "B00030");
  EXPECT_EQ(line.Receive("7F"), std::vector{Logged("B0 00 30 7F")});
  EXPECT_TRUE(line.Buffer().isEmpty());

  // A variable-length message waits for its length byte, then for its last byte.
  const QByteArray slotData = SlotDataHex(0x01);
  Line slotLine;
  EXPECT_TRUE(slotLine.Receive("E7").empty());
  EXPECT_TRUE(slotLine.Receive(slotData.mid(2, 20).constData()).empty());
  EXPECT_EQ(slotLine.Receive(slotData.mid(22).constData()),
            (std::vector<LocoNetAction>{{Kind::LogLine, slotData}}));
}

TEST(LocoNetReceiver, SeveralMessagesInOneEventAreLoggedAndActedOnInOrder) {
  const QByteArray slotData = SlotDataHex(0x33);
  const QByteArray beeping = PeerTransferHex(0x0F, 0x11);
  const std::vector<LocoNetAction> expected = {
      Logged("83 7C"), {Kind::LogLine, slotData}, Answered("BA 05 05"), {Kind::LogLine, beeping},
      Beeped(),        Logged("82 7D"),
  };
  EXPECT_EQ(ParseAll("837C" + slotData + beeping + "827D"), expected);
}

TEST(LocoNetReceiver, StrayByteIsDroppedAndWhatFollowsWaitsForTheNextEvent) {
  Line line;
  EXPECT_TRUE(line.Receive("0D 83 7C").empty());
  EXPECT_EQ(line.Buffer(), "837C");
  EXPECT_EQ(line.Receive("82 7D"), (std::vector{Logged("83 7C"), Logged("82 7D")}));

  // Opcodes missing from the framing table are stray bytes too, one dropped per event.
  Line gaps;
  EXPECT_TRUE(gaps.Receive("84 B3 B7 BE C0 CF 83 7C").empty());
  EXPECT_EQ(gaps.Buffer(), "B3B7BEC0CF837C");
}

TEST(LocoNetReceiver, VariableLengthOfZeroOrOneIsTreatedAsStrayByte) {
  for (const char* length : {"00", "01"}) {
    Line line;
    EXPECT_TRUE(line.Receive(QByteArray("E5" + QByteArray(length) + "837C").constData()).empty());
    EXPECT_EQ(line.Buffer(), length + QByteArray("837C"));
    EXPECT_TRUE(line.Receive("").empty());
    EXPECT_EQ(line.Receive(""), std::vector{Logged("83 7C")});
  }
}

TEST(LocoNetReceiver, MessageWithWrongCheckByteIsSkippedAndTheNextIsStillParsed) {
  EXPECT_EQ(ParseAll("B000307E837C"), std::vector{Logged("83 7C")});
  // A slot data message that would be answered is not answered when its check byte is wrong.
  QByteArray corrupt = SlotDataHex(0x33);
  corrupt[corrupt.size() - 1] = corrupt.back() == '0' ? '1' : '0';
  EXPECT_EQ(ParseAll(corrupt + "827D"), std::vector{Logged("82 7D")});
}

TEST(LocoNetReceiver, SlotDataIsAnsweredWithMoveSlotsOnlyForTheListedStates) {
  for (const int status : {0x00, 0x02, 0x03, 0x10, 0x12, 0x13, 0x18, 0x23, 0x31, 0x32, 0x33}) {
    const QByteArray message = SlotDataHex(status);
    EXPECT_EQ(ParseAll(message),
              (std::vector<LocoNetAction>{{Kind::LogLine, message}, Answered("BA 05 05")}))
        << "status " << status;
  }
  for (const int status : {0x01, 0x11, 0x20, 0x30, 0x34, 0x7F}) {
    const QByteArray message = SlotDataHex(status);
    EXPECT_EQ(ParseAll(message), (std::vector<LocoNetAction>{{Kind::LogLine, message}}))
        << "status " << status;
  }
}

TEST(LocoNetReceiver, SlotDataTooShortForSlotAndStatusIsOnlyLogged) {
  const QByteArray threeBytes = HexText(LocoNetMessage(QByteArray::fromHex("E7 03")));
  EXPECT_EQ(ParseAll(threeBytes + "837C"),
            (std::vector<LocoNetAction>{{Kind::LogLine, threeBytes}, Logged("83 7C")}));
}

TEST(LocoNetReceiver, PeerTransferBeepsOnlyWithLength0FAndByte5Is11) {
  const QByteArray beeping = PeerTransferHex(0x0F, 0x11);
  EXPECT_EQ(ParseAll(beeping), (std::vector<LocoNetAction>{{Kind::LogLine, beeping}, Beeped()}));
  for (const QByteArray& quiet : {PeerTransferHex(0x10, 0x11), PeerTransferHex(0x0F, 0x10)}) {
    EXPECT_EQ(ParseAll(quiet), (std::vector<LocoNetAction>{{Kind::LogLine, quiet}}));
  }
}

TEST(LocoNetReceiver, IncompleteMessageLeavesTheBufferAsItWas) {
  for (const char* partial : {"E0 12 00", "E5", "E5 0F 00 00", "D0 00 00 00 00"}) {
    const LocoNetParse parsed = ParseLocoNetBuffer(Hex(partial));
    EXPECT_TRUE(parsed.actions.empty());
    EXPECT_EQ(parsed.rest, Hex(partial));
  }
}

}  // namespace
