#include "loconet/LocoNetLink.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "LocoNetSimulator.h"
#include "ReceiveEvents.h"
#include "SerialLinkHarness.h"
#include "loconet/LocoNetMessage.h"
#include "support/RecordingNotifier.h"

namespace {

using Outcome = AccessoryOutcome::Result;

QByteArray SlotDataHex(int slot, int status) {
  QByteArray bytes = QByteArray::fromHex("E7 0E 00 00 01 02 03 04 05 06 07 08 09");
  bytes[2] = char(slot);
  bytes[3] = char(status);
  return HexText(LocoNetMessage(bytes));
}

const QByteArray kRejection = QByteArray::fromHex("B4 30 00 7B");

class LocoNetLinkTest : public testing::Test {
 protected:
  LocoNetLinkTest() { Notifications().Reset(); }

  SerialLinkHarness<LocoNetLink> h;
};

// After a failed P50X detection the port's events are {break, CTS}, and every receive empties
// them: each connect must restore the receive event, or the station is never heard.
TEST_F(LocoNetLinkTest, EveryConnectHearsTheStationWhateverEventsThePortWasLeftWith) {
  h.link.Attach();
  h.port.SetEvents({evBreak, evCTS});
  ASSERT_TRUE(h.link.Connect());
  EXPECT_EQ(h.Line().LineSettings().baudRate, 19200);
  EXPECT_EQ(h.Line().Purges().back(), kPurgeRxClear | kPurgeTxClear);
  EXPECT_EQ(h.TakeWrites(), Writes({"83", "7C"}));
  h.Hear(QByteArray::fromHex("837C"));
  EXPECT_EQ(h.observer.received, QStringList{"837C"});

  h.port.Close();
  ASSERT_EQ(h.port.Events(), TComEvents{});
  ASSERT_TRUE(h.link.Connect());
  h.Hear(QByteArray::fromHex("837C"));
  EXPECT_EQ(h.observer.received.size(), 2);

  h.link.SwitchPowerOff();
  EXPECT_EQ(h.TakeWrites(), Writes({"83", "7C", "82", "7D"}));
}

TEST_F(LocoNetLinkTest, AccessoryIsSwitchedOnAndAfter200MsOff) {
  h.link.Connect();
  h.TakeWrites();
  std::vector<QByteArray> writtenBeforeWait;
  h.observer.onWait = [&](int) { writtenBeforeWait = h.TakeWrites(); };

  const AccessoryOutcome outcome = h.link.SwitchAccessory({2044, "2044"});

  EXPECT_EQ(outcome.result, Outcome::CarriedOut);
  EXPECT_EQ(h.observer.waits, std::vector{200});
  EXPECT_EQ(writtenBeforeWait, Writes({"B0", "7B", "3F", "0B"}));
  EXPECT_EQ(h.TakeWrites(), Writes({"B0", "7B", "2F", "1B"}));
}

// Only the long acknowledge that rejects a switch request counts; other acknowledges, and a
// rejection heard before any accessory command went out, do not.
TEST_F(LocoNetLinkTest, RejectedSwitchRequestIsRefusedWhenItArrivesDuringOrAfterTheCommand) {
  h.link.Connect();
  h.Hear(kRejection);
  EXPECT_FALSE(h.link.LateRefusal());
  h.observer.onWait = [&](int) { h.Hear(QByteArray::fromHex("B4 30 7F 34  B4 31 00 7A")); };
  EXPECT_EQ(h.link.SwitchAccessory({1, "1"}).result, Outcome::CarriedOut);
  EXPECT_FALSE(h.link.LateRefusal());

  h.observer.onWait = [&](int) { h.Hear(kRejection + kRejection); };
  const AccessoryOutcome refused = h.link.SwitchAccessory({1, "1"});
  EXPECT_EQ(refused.result, Outcome::Refused);
  EXPECT_TRUE(refused.stationSaid.startsWith("B4 30 00 7B")) << refused.stationSaid.toStdString();
  EXPECT_FALSE(h.link.LateRefusal()) << "already told as the command's outcome";

  h.observer.onWait = [](int) {};
  EXPECT_EQ(h.link.SwitchAccessory({5, "5"}).result, Outcome::CarriedOut);
  h.Hear(kRejection);
  ASSERT_TRUE(h.link.LateRefusal());
  EXPECT_EQ(h.link.LateRefusal()->result, Outcome::Refused);
  EXPECT_EQ(h.link.SwitchAccessory({2, "2"}).result, Outcome::CarriedOut);
  EXPECT_FALSE(h.link.LateRefusal()) << "a new command starts without a refusal";
}

TEST_F(LocoNetLinkTest, CommandThatCannotBeWrittenIsLost) {
  h.link.Connect();
  h.Line().Fail(MemoryLine::Op::kWrite, EIO);
  const AccessoryOutcome outcome = h.link.SwitchAccessory({1, "1"});
  EXPECT_EQ(outcome.result, Outcome::Lost);
  EXPECT_TRUE(outcome.stationSaid.contains(ComErrorMessage(ecWrite)))
      << outcome.stationSaid.toStdString();
}

TEST_F(LocoNetLinkTest, ReceivedMessagesAreLoggedBeepedAndSlotDataAnswered) {
  h.link.Connect();
  h.TakeWrites();
  const QByteArray slotData = SlotDataHex(5, 0x33);
  const QByteArray beeping =
      HexText(LocoNetMessage(QByteArray::fromHex("E5 0F 00 00 00 11 00 00 00 00 00 00 00 00")));
  // Slot data cut across two arrivals is answered once, when it is complete.
  const QByteArray stream = QByteArray::fromHex("837C" + slotData + beeping + "B2");
  h.Hear(stream.left(6));
  EXPECT_EQ(h.observer.received, QStringList{"837C"});
  h.Hear(stream.mid(6));

  EXPECT_EQ(h.observer.received, (QStringList{"837C", slotData, beeping}));
  EXPECT_EQ(Notifications().beeps, 1);
  EXPECT_EQ(h.TakeWrites(), Writes({"BA", "05", "05", "45"}));
  EXPECT_EQ(h.link.ReceiveHexBuffer(), "B2");
}

TEST_F(LocoNetLinkTest, FailedAnswerIsShownAfterEveryMessageOfTheArrivalIsLogged) {
  h.link.Connect();
  h.Line().Fail(MemoryLine::Op::kWrite, EIO);
  const QByteArray first = SlotDataHex(5, 0x33);
  const QByteArray second = SlotDataHex(6, 0x02);

  h.Hear(QByteArray::fromHex(first + second + "837C"));

  EXPECT_EQ(h.observer.received, (QStringList{first, second, "837C"}));
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages[0].startsWith(ComErrorMessage(ecWrite)));
}

// The simulated Intellibox rejects every request: the rejection of the "on" half arrives in
// the 200 ms pause, that of the "off" half after the command has returned.
TEST(LocoNetLinkOnStation, RejectionsOfBothHalvesAreHeard) {
  LocoNetSimulator station;
  station.RefuseSwitchRequests(true);
  SerialLinkHarness<LocoNetLink> h(station.SlavePath());
  h.link.Attach();
  h.link.Connect();

  EXPECT_EQ(h.link.SwitchAccessory({1, "1"}).result, Outcome::Refused);
  ASSERT_TRUE(WaitFor([&] { return h.link.LateRefusal().has_value(); }));
  EXPECT_TRUE(station.Log().TurnoutsSwitchedOn().empty());
}

}  // namespace
