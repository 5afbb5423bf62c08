#include "maerklin/MaerklinLink.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "SerialLinkHarness.h"

namespace {

using Outcome = AccessoryOutcome::Result;

class MaerklinLinkTest : public testing::Test {
 protected:
  SerialLinkHarness<MaerklinLink> h;
};

TEST_F(MaerklinLinkTest, ConnectRestoresTheEventsAndKeepsWhatArrivesUnparsed) {
  h.link.Attach();
  h.port.SetEvents({});
  ASSERT_TRUE(h.link.Connect());
  const SerialLineSettings settings = h.Line().LineSettings();
  EXPECT_EQ(settings.baudRate, 2400);
  EXPECT_EQ(settings.stopBits, sbTwoStopBits);
  EXPECT_EQ(h.Line().Purges().back(), kPurgeRxClear | kPurgeTxClear);
  EXPECT_EQ(h.TakeWrites(), Writes({"60"}));

  h.Hear(QByteArray::fromHex("05 A0 7F"));
  EXPECT_EQ(h.link.ReceiveHexBuffer(), "05A07F");
  EXPECT_TRUE(h.observer.received.isEmpty());

  h.link.SwitchPowerOff();
  EXPECT_EQ(h.TakeWrites(), Writes({"61"}));
}

TEST_F(MaerklinLinkTest, TurnoutGoesGreenAndAfter100MsTheSolenoidsOff) {
  h.link.Connect();
  h.TakeWrites();
  std::vector<QByteArray> writtenBeforeWait;
  h.observer.onWait = [&](int) { writtenBeforeWait = h.TakeWrites(); };

  EXPECT_EQ(h.link.SwitchAccessory({241, {}}).result, Outcome::CarriedOut);
  EXPECT_EQ(h.observer.waits, std::vector{100});
  EXPECT_EQ(writtenBeforeWait, Writes({"22", "F1"}));
  EXPECT_EQ(h.TakeWrites(), Writes({"20"}));
}

TEST_F(MaerklinLinkTest, CommandThatCannotBeWrittenIsLost) {
  h.link.Connect();
  h.Line().Fail(MemoryLine::Op::kWrite, EIO);
  EXPECT_EQ(h.link.SwitchAccessory({1, {}}).result, Outcome::Lost);
}

}  // namespace
