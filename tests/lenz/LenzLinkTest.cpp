#include "lenz/LenzLink.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "LenzSimulator.h"
#include "SerialLinkHarness.h"

namespace {

using Outcome = AccessoryOutcome::Result;

QByteArray Bytes(const char* spacedHex) {
  return QByteArray::fromHex(spacedHex);
}

class LenzLinkTest : public testing::Test {
 protected:
  SerialLinkHarness<LenzLink> h;
};

// After a failed P50X detection the port's events are {break, CTS}, and every receive empties
// them: each connect must restore the receive event, or the interface is never heard.
TEST_F(LenzLinkTest, EveryConnectHearsTheInterfaceWhateverEventsThePortWasLeftWith) {
  h.link.Attach();
  h.port.SetEvents({evBreak});
  ASSERT_TRUE(h.link.Connect());
  const SerialLineSettings settings = h.Line().LineSettings();
  EXPECT_EQ(settings.baudRate, 9600);
  EXPECT_TRUE(settings.outCTSFlow);
  EXPECT_EQ(h.Line().EventMask(), (TComEvents{evRxChar, evCTS}));
  EXPECT_EQ(h.Line().Purges().back(), kPurgeRxClear | kPurgeTxClear);
  EXPECT_EQ(h.TakeWrites(), Writes({"21 81 A0"}));
  h.Hear(Bytes("61 01 60"));
  EXPECT_EQ(h.observer.received, QStringList{"61 01 60 "});

  h.port.Close();
  ASSERT_TRUE(h.link.Connect());
  h.Hear(Bytes("61 01 60"));
  EXPECT_EQ(h.observer.received.size(), 2);

  h.link.SwitchPowerOff();
  EXPECT_EQ(h.TakeWrites(), Writes({"21 81 A0", "80 80"}));
}

// Turnouts go out four higher than the decoder counts them; 1020 is the highest a Lenz
// address byte can carry with the offset.
TEST_F(LenzLinkTest, AccessoryIsSwitchedOnAndAfter250MsOffFourTurnoutsHigher) {
  const struct {
    int turnout;
    const char* on;
    const char* off;
  } cases[] = {{1, "52 01 88 DB", "52 01 80 D3"},
               {4, "52 01 8E DD", "52 01 86 D5"},
               {6, "52 02 8A DA", "52 02 82 D2"},
               {1020, "52 FF 8E 23", "52 FF 86 2B"}};
  h.link.Connect();
  h.TakeWrites();
  std::vector<QByteArray> writtenBeforeWait;
  h.observer.onWait = [&](int) { writtenBeforeWait = h.TakeWrites(); };
  for (const auto& c : cases) {
    EXPECT_EQ(h.link.SwitchAccessory({c.turnout, {}}).result, Outcome::CarriedOut);
    EXPECT_EQ(writtenBeforeWait, Writes({c.on})) << "turnout " << c.turnout;
    EXPECT_EQ(h.TakeWrites(), Writes({c.off})) << "turnout " << c.turnout;
  }
  EXPECT_EQ(h.observer.waits, std::vector<int>(std::size(cases), 250));
  EXPECT_EQ(1020 + h.link.TurnoutOffset(), h.link.HighestTurnout());
}

TEST_F(LenzLinkTest, ErrorAnswersOfTheInterfaceRefuseTheCommand) {
  h.link.Connect();
  h.observer.onWait = [&](int) { h.Hear(Bytes("01 04 05")); };
  EXPECT_EQ(h.link.SwitchAccessory({1, {}}).result, Outcome::CarriedOut);

  for (const char* answer : {"01 01 00", "01 02 03", "01 03 02", "01 05 04", "01 06 07"}) {
    h.observer.onWait = [&](int) { h.Hear(Bytes(answer)); };
    const AccessoryOutcome outcome = h.link.SwitchAccessory({1, {}});
    EXPECT_EQ(outcome.result, Outcome::Refused) << answer;
    EXPECT_TRUE(outcome.stationSaid.startsWith(QLatin1String(answer) + ": "))
        << outcome.stationSaid.toStdString();
  }
}

// The answer to the "off" frame comes after the command has returned.
TEST_F(LenzLinkTest, ErrorAnswerAfterTheCommandIsALateRefusalUntilTheNextCommand) {
  h.link.Connect();
  h.Hear(Bytes("01 05 04"));
  h.observer.onWait = [](int) {};
  EXPECT_EQ(h.link.SwitchAccessory({1, {}}).result, Outcome::CarriedOut)
      << "an error before any accessory command is not about one";
  EXPECT_FALSE(h.link.LateRefusal());

  h.Hear(Bytes("01 04 05 01 06 07"));
  ASSERT_TRUE(h.link.LateRefusal());
  EXPECT_EQ(h.link.LateRefusal()->result, Outcome::Refused);
  EXPECT_TRUE(h.link.LateRefusal()->stationSaid.startsWith("01 06 07: "));

  EXPECT_EQ(h.link.SwitchAccessory({2, {}}).result, Outcome::CarriedOut);
  EXPECT_FALSE(h.link.LateRefusal());
}

TEST_F(LenzLinkTest, CommandThatCannotBeWrittenIsLost) {
  h.link.Connect();
  h.Line().Fail(MemoryLine::Op::kWrite, EIO);
  const AccessoryOutcome outcome = h.link.SwitchAccessory({1, {}});
  EXPECT_EQ(outcome.result, Outcome::Lost);
  EXPECT_TRUE(outcome.stationSaid.contains(ComErrorMessage(ecWrite)))
      << outcome.stationSaid.toStdString();
}

TEST(LenzLinkOnStation, RefusalsOfBothFramesAreHeard) {
  LenzSimulator station;
  station.RefuseAccessoryOperations(Bytes("01 05 04"));
  SerialLinkHarness<LenzLink> h(station.SlavePath());
  h.link.Attach();
  h.link.Connect();

  EXPECT_EQ(h.link.SwitchAccessory({1, {}}).result, Outcome::Refused);
  ASSERT_TRUE(WaitFor([&] { return h.link.LateRefusal().has_value(); }));
  EXPECT_TRUE(station.Log().TurnoutsSwitchedOn().empty());
}

}  // namespace
