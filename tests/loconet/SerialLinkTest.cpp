// The LocoNet, Lenz and Märklin links on an in-memory line, held as the main window holds them:
// the window's receive handler empties the port's event set and hands the bytes to the link.
// Each write is recorded on its own, so a test sees how the bytes were cut into writes.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "CPort/MemoryDevice.h"
#include "CPort/TComLink.h"
#include "CPort/TComPort.h"
#include "lenz/LenzLink.h"
#include "loconet/LocoNetLink.h"
#include "loconet/LocoNetMessage.h"
#include "maerklin/MaerklinLink.h"
#include "platform/Messages.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"

namespace {

using Outcome = AccessoryOutcome::Result;
using Writes = std::vector<QByteArray>;

Writes Hex(std::initializer_list<const char*> spacedHex) {
  Writes writes;
  for (const char* bytes : spacedHex) writes.push_back(QByteArray::fromHex(bytes));
  return writes;
}

struct Switch {
  int turnout;
  Writes on, off;
};

// What each station hears on connect and power-off, what it says, how it is switched, and the
// answers that refuse a command (and one that does not).
struct Expected {
  Writes connect, powerOff;
  QByteArray heard;
  QStringList logged;
  QByteArray kept;  // the receive buffer afterwards
  int pause;
  std::vector<Switch> switches;
  const char* harmless;
  std::vector<const char*> refusing;
};

// clang-format off
template <typename Link> Expected For();
template <> Expected For<LocoNetLink>() {
  return {Hex({"83", "7C"}), Hex({"82", "7D"}), QByteArray::fromHex("837C"), {"837C"}, "", 200,
          {{2044, Hex({"B0", "7B", "3F", "0B"}), Hex({"B0", "7B", "2F", "1B"})}},
          "B4 30 7F 34  B4 31 00 7A", {"B4 30 00 7B"}};
}
// Turnouts go out four higher than the decoder counts them; 1020 is the highest a Lenz address
// byte can carry with the offset.
template <> Expected For<LenzLink>() {
  return {Hex({"21 81 A0"}), Hex({"80 80"}), QByteArray::fromHex("61 01 60"), {"61 01 60 "}, "",
          250, {{1, Hex({"52 01 88 DB"}), Hex({"52 01 80 D3"})},
                {4, Hex({"52 01 8E DD"}), Hex({"52 01 86 D5"})},
                {6, Hex({"52 02 8A DA"}), Hex({"52 02 82 D2"})},
                {1020, Hex({"52 FF 8E 23"}), Hex({"52 FF 86 2B"})}},
          "01 04 05", {"01 01 00", "01 02 03", "01 03 02", "01 05 04", "01 06 07"}};
}
// Its bytes are kept unparsed, and it never answers a command.
template <> Expected For<MaerklinLink>() {
  return {Hex({"60"}), Hex({"61"}), QByteArray::fromHex("05 A0 7F"), {}, "05A07F", 100,
          {{241, Hex({"22", "F1"}), Hex({"20"})}}, "", {}};
}
// clang-format on

// The fixture is the link's observer: it keeps the receive log, and records each step pause
// and runs onWait in its place.
template <typename Link>
class SerialLinkTest : public testing::Test, public LinkObserver {
 protected:
  SerialLinkTest() {
    recorder_.OnTxBuf = [this](QObject*, const char* buffer, int count) {
      writes_.emplace_back(buffer, count);
    };
    port.RegisterLink(&recorder_);
    port.UseDevice(std::make_unique<MemoryDevice>(line));
    port.OnRxChar = [this](QObject*, int count) {
      port.SetEvents({});
      QByteArray bytes;
      port.ReadStr(bytes, count);
      link.Received(bytes);
    };
  }
  ~SerialLinkTest() override {
    port.Close();
    port.UnregisterLink(&recorder_);
  }

  void LogConnection(const QString&) override {}
  void LogReceived(const QString& entry) override { received.append(entry); }
  void ShowReceiveStatus(const QString&) override {}
  void LogInformation(const QString&) override {}
  void ShowVersionValue(StationVersionField, const QString&) override {}
  void WaitMs(int milliseconds) override {
    waits.push_back(milliseconds);
    if (onWait) onWait(milliseconds);
  }

  // Bytes from the station, returning once the link has been handed them.
  void Hear(const QByteArray& bytes) {
    line->Receive(bytes);
    WaitFor([&] { return line->InputCount() == 0; });
  }
  void Hear(const char* spacedHex) { Hear(QByteArray::fromHex(spacedHex)); }
  Writes TakeWrites() { return std::exchange(writes_, {}); }

  QStringList received;
  std::vector<int> waits;
  std::function<void(int)> onWait;
  std::shared_ptr<MemoryLine> line = std::make_shared<MemoryLine>();
  TComPort port;
  Link link{port, *this};
  const Expected x = For<Link>();

 private:
  TComLink recorder_;
  Writes writes_;
};

using SerialLinks = testing::Types<LocoNetLink, LenzLink, MaerklinLink>;
TYPED_TEST_SUITE(SerialLinkTest, SerialLinks);

// After a failed P50X detection the port's events are {break, CTS}, and every receive empties
// them: each connect must restore the receive event, or the station is never heard. A connect
// clears both queues.
TYPED_TEST(SerialLinkTest, EveryConnectHearsTheStationWhateverEventsThePortWasLeftWith) {
  this->link.Attach();
  this->port.SetEvents({evBreak, evCTS});
  ASSERT_TRUE(this->link.Connect());
  EXPECT_EQ(this->line->Purges().back(), kPurgeRxClear | kPurgeTxClear);
  EXPECT_EQ(this->TakeWrites(), this->x.connect);
  this->Hear(this->x.heard);
  EXPECT_EQ(this->received, this->x.logged);
  EXPECT_EQ(this->link.ReceiveHexBuffer(), this->x.kept);

  this->port.Close();
  ASSERT_TRUE(this->link.Connect());
  EXPECT_EQ(this->TakeWrites(), this->x.connect);
  this->Hear(this->x.heard);
  EXPECT_EQ(this->link.ReceiveHexBuffer(), this->x.kept + this->x.kept);
  EXPECT_EQ(this->received, this->x.logged + this->x.logged);
  this->link.SwitchPowerOff();
  EXPECT_EQ(this->TakeWrites(), this->x.powerOff);
}

TYPED_TEST(SerialLinkTest, AccessoryIsSwitchedOnAndAfterThePauseOff) {
  this->link.Connect();
  this->TakeWrites();
  Writes writtenBeforePause;
  this->onWait = [&](int) { writtenBeforePause = this->TakeWrites(); };
  for (const Switch& s : this->x.switches) {
    EXPECT_EQ(this->link.SwitchAccessory({s.turnout, {}}).result, Outcome::CarriedOut);
    EXPECT_EQ(writtenBeforePause, s.on) << "turnout " << s.turnout;
    EXPECT_EQ(this->TakeWrites(), s.off) << "turnout " << s.turnout;
  }
  EXPECT_EQ(this->waits, std::vector<int>(this->x.switches.size(), this->x.pause));

  this->line->Fail(MemoryLine::Op::kWrite, EIO);
  const AccessoryOutcome lost = this->link.SwitchAccessory({1, {}});
  EXPECT_EQ(lost.result, Outcome::Lost);
  EXPECT_TRUE(lost.stationSaid.contains(ComErrorMessage(ecWrite)))
      << lost.stationSaid.toStdString();
}

// A refusal heard in the pause refuses the command; one heard after it returned is a late
// refusal until the next command starts; one heard before any command is about none.
TYPED_TEST(SerialLinkTest, RefusalCountsForTheCommandItFollows) {
  if (this->x.refusing.empty()) GTEST_SKIP() << "this station never answers a command";
  this->link.Connect();
  this->Hear(this->x.refusing.back());
  this->onWait = [&](int) { this->Hear(this->x.harmless); };
  EXPECT_EQ(this->link.SwitchAccessory({1, {}}).result, Outcome::CarriedOut);
  EXPECT_FALSE(this->link.LateRefusal());

  for (const char* refusal : this->x.refusing) {
    this->onWait = [&](int) { this->Hear(refusal), this->Hear(refusal); };
    const AccessoryOutcome outcome = this->link.SwitchAccessory({1, {}});
    EXPECT_EQ(outcome.result, Outcome::Refused) << refusal;
    EXPECT_TRUE(outcome.stationSaid.startsWith(refusal)) << outcome.stationSaid.toStdString();
    EXPECT_FALSE(this->link.LateRefusal()) << "already told as the command's outcome";
  }

  this->onWait = nullptr;
  EXPECT_EQ(this->link.SwitchAccessory({5, {}}).result, Outcome::CarriedOut);
  this->Hear(this->x.harmless), this->Hear(this->x.refusing.front());
  ASSERT_TRUE(this->link.LateRefusal());
  EXPECT_EQ(this->link.LateRefusal()->result, Outcome::Refused);
  EXPECT_TRUE(this->link.LateRefusal()->stationSaid.startsWith(this->x.refusing.front()));
  EXPECT_EQ(this->link.SwitchAccessory({2, {}}).result, Outcome::CarriedOut);
  EXPECT_FALSE(this->link.LateRefusal()) << "a new command starts without a refusal";
}

using LocoNetLinkTest = SerialLinkTest<LocoNetLink>;

// An answer to slot data that cannot be written is shown once every message of the arrival has
// been logged.
TEST_F(LocoNetLinkTest, FailedAnswerIsShownAfterTheWholeArrivalIsLogged) {
  link.Connect();
  line->Fail(MemoryLine::Op::kWrite, EIO);
  const QByteArray first = LocoNetMessage(
                       QByteArray::fromHex("E7 0E 05 33 00 00 00 00 00 00 00 00 00")),
                   second = LocoNetMessage(
                       QByteArray::fromHex("E7 0E 06 02 00 00 00 00 00 00 00 00 00"));
  Hear(first + second + QByteArray::fromHex("837C"));
  EXPECT_EQ(received, (QStringList{first.toHex().toUpper(), second.toHex().toUpper(), "837C"}));
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages[0].startsWith(ComErrorMessage(ecWrite)));
}

}  // namespace
