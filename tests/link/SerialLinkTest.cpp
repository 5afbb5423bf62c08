// The LocoNet, Lenz and Märklin links on an in-memory line, held as the main window holds them:
// the window's receive handler empties the port's event set and hands the bytes to the link,
// and the window hands every CTS change on.
// Each write is recorded on its own, so a test sees how the bytes were cut into writes. A test
// acts in a step's pause by starting the step (it runs up to its pause) and awaiting it
// afterwards. How long the pauses last is measured on the wire, in the end-to-end tests.
#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>

#include "lenz/LenzLink.h"
#include "loconet/LocoNetLink.h"
#include "maerklin/MaerklinLink.h"
#include "serial/MemoryDevice.h"
#include "serial/SerialPort.h"
#include "serial/SerialPortListener.h"
#include "support/AwaitTask.h"
#include "support/RecordingObserver.h"
#include "support/WaitFor.h"

namespace {

using Outcome = AccessoryOutcome::Result;
using Missing = AccessoryOutcome::MissingConfirmation;

// What each station hears on connect and power-off, what it says, how it is switched, how it
// confirms each frame and the answers that refuse a command (and one that does not), with what
// they mean. Writes are hex, one word a write.
enum class Confirms { ByEcho, ByAnswer, ByClearToSend };
struct Expected {
  const char *connect, *powerOff, *heard;
  QStringList logged;
  int pause;                                                        // ms the output stays on
  std::vector<std::tuple<int, const char*, const char*>> switches;  // turnout, on, off
  Confirms confirms = Confirms::ByClearToSend;
  const char* answer = "";  // the answer to every frame, for Confirms::ByAnswer
  Missing missing = Missing::None;
  // Frames that confirm nothing of turnout 1's command.
  std::vector<const char*> noConfirmation = {};
  const char* harmless = "";
  std::vector<std::pair<const char*, const char*>> refusing = {};  // frame, meaning
  // The station's reports of the track's power: on, and each way it goes off.
  const char* trackOn = "";
  std::vector<const char*> trackOff = {};
};

// clang-format off
template <typename Link> Expected For();
template <> Expected For<LocoNetLink>() {
  return {"83 7C", "82 7D", "837C", {"837C"}, 200, {{2044, "B0 7B 3F 0B", "B0 7B 2F 1B"}},
          Confirms::ByEcho, "", Missing::LocoNetEcho, {"B0 01 30 7E", "B0 00 30 7E", "837C"},
          "B4 30 7F 34  B4 31 00 7A",
          {{"B4 30 00 7B", "long acknowledge, the switch request is rejected"},
           {"82 7D", "global power off"},
           {"85 7A", "emergency stop (force idle)"}},
          "83 7C", {"82 7D", "85 7A"}};
}
// Turnouts go out four higher than the decoder counts them; 1020 is the highest a Lenz address
// byte can carry with the offset.
template <> Expected For<LenzLink>() {
  return {"2181A0", "8080", "61 01 60", {"61 01 60 "}, 250,
          {{1, "520188DB", "520180D3"}, {4, "52018EDD", "520186D5"}, {6, "52028ADA", "520282D2"},
           {1020, "52FF8E23", "52FF862B"}},
          Confirms::ByAnswer, "01 04 05", Missing::InterfaceAnswer,
          {"61 01 60", "42 01 89 CA", "01 04 04"}, "01 04 05",
          {{"01 01 00", "transfer error between the computer and the interface"},
           {"01 02 03", "the command station did not answer the interface"},
           {"01 03 02", "unknown communication error"},
           {"01 05 04", "the command station gives the interface no time slot"},
           {"01 06 07", "the interface's buffer is full"},
           {"61 81 E0", "the command station is busy"},
           {"61 82 E3", "the command station does not know the command"},
           {"61 00 61", "the track power is off"},
           {"81 00 81", "the command station is in emergency stop"}},
          "61 01 60", {"61 00 61", "81 00 81"}};
}
// Its bytes are kept unparsed, and it never answers a command: CTS held is all it shows.
template <> Expected For<MaerklinLink>() {
  return {"60", "61", "05 A0 7F", {}, 100, {{241, "22 F1", "20"}}};
}
// clang-format on

template <typename Link>
class SerialLinkTest : public testing::Test {
 protected:
  SerialLinkTest() {
    recorder_.OnTxBuf = [this](QObject*, const char* buffer, int count) {
      writes_ += QByteArray(buffer, count).toHex().toUpper() + ' ';
      unconfirmed_.emplace_back(buffer, count);
    };
    port.RegisterLink(&recorder_);
    port.UseDevice(std::make_unique<MemoryDevice>(line));
    port.OnRxChar = [this](QObject*, int count) {
      port.SetEvents({});
      QByteArray bytes;
      port.ReadStr(bytes, count);
      link.Received(bytes);
    };
    port.OnCTSChange = [this](QObject*, bool on) {
      ++ctsReports_;
      link.ClearToSendChanged(on);
    };
  }
  ~SerialLinkTest() override {
    port.Close();
    port.UnregisterLink(&recorder_);
  }

  // Bytes from the station, returning once the link has been handed them.
  void Hear(const QByteArray& bytes) {
    line->Receive(bytes);
    WaitFor([&] { return line->InputCount() == 0; });
  }
  void Hear(const char* spacedHex) { Hear(QByteArray::fromHex(spacedHex)); }
  // CTS changed by the interface, returning once the change has been handed on.
  void SetCts(bool on) {
    const int before = ctsReports_;
    line->SetSignal(csCTS, on);
    WaitFor([&] { return ctsReports_ > before; });
  }
  // The writes since the last call.
  QByteArray TakeWrites() { return std::exchange(writes_, {}).trimmed(); }

  // The station confirms every write since the last call: it echoes them, or answers each.
  void Confirm() {
    QByteArray confirmations;
    for (const QByteArray& write : std::exchange(unconfirmed_, {}))
      confirmations += x.confirms == Confirms::ByEcho ? write : QByteArray::fromHex(x.answer);
    if (x.confirms != Confirms::ByClearToSend) Hear(confirmations);
  }
  // The station lets every write since the last call go without a confirmation.
  void Ignore() { unconfirmed_.clear(); }
  // A connect the station answers, as it does when it is there.
  void ConnectAnswered() {
    ASSERT_TRUE(Await(link.Connect()));
    // An interface that takes bytes holds CTS on.
    if (x.confirms == Confirms::ByClearToSend) SetCts(true);
    Hear(x.heard);
    TakeWrites();
    Ignore();
  }

  RecordingObserver observer;
  std::shared_ptr<MemoryLine> line = std::make_shared<MemoryLine>();
  SerialPort port;
  Link link{port, observer};
  const Expected x = For<Link>();

  SerialPortListener recorder_;
  QByteArray writes_;
  std::vector<QByteArray> unconfirmed_;
  int ctsReports_ = 0;
};

using SerialLinks = testing::Types<LocoNetLink, LenzLink, MaerklinLink>;
TYPED_TEST_SUITE(SerialLinkTest, SerialLinks);

// The on, and after the pause the off.
TYPED_TEST(SerialLinkTest, AccessoryIsSwitchedOnAndAfterThePauseOff) {
  this->ConnectAnswered();
  for (const auto& [turnout, on, off] : this->x.switches) {
    Task<AccessoryOutcome> step = this->link.SwitchAccessory({turnout});
    EXPECT_EQ(this->TakeWrites(), on) << "turnout " << turnout;
    this->Confirm();
    const AccessoryOutcome outcome = Await(std::move(step));
    EXPECT_EQ(outcome.result, Outcome::CarriedOut);
    EXPECT_EQ(this->TakeWrites(), off) << "turnout " << turnout;
    this->Confirm();
    EXPECT_EQ(Await(this->link.OutcomeAtStepEnd(outcome)).result, Outcome::CarriedOut);
  }

  this->line->Fail(MemoryLine::Op::kWrite, EIO);
  const AccessoryOutcome lost = Await(this->link.SwitchAccessory({1}));
  EXPECT_EQ(lost.result, Outcome::Lost);
  EXPECT_TRUE(lost.stationSaid.contains(SerialErrorMessage(ecWrite)));
}

// The user closed the window in the middle of a step's pause: the window ends the step and
// switches the power off, which is the last thing on the wire; nothing of the step follows.
TYPED_TEST(SerialLinkTest, StepEndedInItsPauseLeavesThePowerOffLast) {
  this->ConnectAnswered();
  const auto& [turnout, on, off] = this->x.switches.front();
  Task<AccessoryOutcome> step = this->link.SwitchAccessory({turnout});
  EXPECT_EQ(this->TakeWrites(), on);
  step.End();
  Await(this->link.SwitchPowerOff());
  // Well past the end of the step's pause.
  WaitFor([] { return false; }, 3 * this->x.pause);
  EXPECT_EQ(this->TakeWrites(), this->x.powerOff);
}

// The stations that answer in their own time: a step counts once the station has confirmed
// each of its frames by the end of the step; a refusal heard in the pause refuses the command,
// one heard after it returned is a late refusal until the next command starts, and one heard
// before any command is about none. A station silent since the connect leaves the step
// unchecked.
template <typename Link>
class AnsweringLinkTest : public SerialLinkTest<Link> {
 protected:
  // Turnout 1's command, the station confirming its output-on frame or not during the pulse
  // and its output-off frame or not afterwards, then saying `after`.
  AccessoryOutcome Step(bool confirmOn, bool confirmOff, const char* after = "") {
    this->Ignore();
    Task<AccessoryOutcome> step = this->link.SwitchAccessory({1});
    confirmOn ? this->Confirm() : this->Ignore();
    const AccessoryOutcome returned = Await(std::move(step));
    confirmOff ? this->Confirm() : this->Ignore();
    this->Hear(after);
    return Await(this->link.OutcomeAtStepEnd(returned));
  }
};
using AnsweringLinks = testing::Types<LocoNetLink, LenzLink>;
TYPED_TEST_SUITE(AnsweringLinkTest, AnsweringLinks);

TYPED_TEST(AnsweringLinkTest, StepCountsOnlyWithEachFrameConfirmedOnceTheStationHasSpoken) {
  ASSERT_TRUE(Await(this->link.Connect()));
  for (const char* other : this->x.noConfirmation) {
    const bool echo = this->x.confirms == Confirms::ByEcho;
    EXPECT_EQ(this->Step(false, false, echo ? other : "").result, Outcome::Unconfirmed) << other;
  }
  EXPECT_EQ(this->Step(true, true).result, Outcome::CarriedOut) << "the first sign of life counts";
  for (const auto& [on, off] : {std::pair(true, false), std::pair(false, true)}) {
    const AccessoryOutcome outcome = this->Step(on, off);
    EXPECT_EQ(outcome.result, Outcome::Lost) << on << off;
    EXPECT_EQ(outcome.missing, this->x.missing);
    EXPECT_TRUE(outcome.stationSaid.startsWith("no ")) << outcome.stationSaid.toStdString();
  }
  for (const char* other : this->x.noConfirmation)
    EXPECT_EQ(this->Step(true, false, other).missing, this->x.missing) << other;
  EXPECT_EQ(this->Step(true, true).result, Outcome::CarriedOut) << "each step starts afresh";

  this->port.Close();
  ASSERT_TRUE(Await(this->link.Connect()));
  EXPECT_EQ(this->Step(false, false).result, Outcome::Unconfirmed) << "a new connection";
  this->port.Close();
  this->ConnectAnswered();
  EXPECT_EQ(this->Step(false, true).missing, this->x.missing) << "its answer to the connect binds";
}

TYPED_TEST(AnsweringLinkTest, RefusalCountsForTheCommandItFollows) {
  this->ConnectAnswered();
  this->Hear(this->x.refusing.front().first);
  EXPECT_EQ(this->Step(true, true, this->x.harmless).result, Outcome::CarriedOut);

  for (const auto& [refusal, meaning] : this->x.refusing) {
    Task<AccessoryOutcome> step = this->link.SwitchAccessory({1});
    this->Hear(refusal), this->Hear(this->x.refusing.front().first);
    const AccessoryOutcome outcome = Await(std::move(step));
    EXPECT_EQ(outcome.result, Outcome::Refused) << refusal;
    EXPECT_EQ(outcome.stationSaid, QStringLiteral("%1: %2").arg(refusal, meaning));
    EXPECT_EQ(Await(this->link.OutcomeAtStepEnd(outcome)).result, Outcome::Refused);
    // Whoever switched the track off, the station switches it on again before the next step.
    this->Hear(this->x.trackOn);
  }

  // Heard late, before the step's confirmations are in or after.
  const auto& [first, meaning] = this->x.refusing.front();
  for (const bool confirmed : {false, true}) {
    const AccessoryOutcome outcome = this->Step(true, confirmed, first);
    EXPECT_EQ(outcome.result, Outcome::Refused) << confirmed;
    EXPECT_TRUE(outcome.stationSaid.startsWith(first));
  }
  EXPECT_EQ(this->Step(true, true).result, Outcome::CarriedOut)
      << "a new command starts without a refusal";
}

// A power off or emergency stop heard between runs holds every later step back, unsent, until
// the station reports the track on again. Before a run the link switches it on as the connect
// does, and the run may start only once the station has reported it on.
TYPED_TEST(AnsweringLinkTest, TrackReportedOffIsSwitchedOnBeforeTheNextRun) {
  this->ConnectAnswered();
  EXPECT_EQ(Await(this->link.PowerTrackForRun()).result, Outcome::CarriedOut);
  EXPECT_EQ(this->TakeWrites(), "") << "a track reported on is left alone";
  for (const char* off : this->x.trackOff) {
    this->Hear(off);
    const AccessoryOutcome held = this->Step(true, true);
    EXPECT_EQ(held.result, Outcome::Refused) << off;
    EXPECT_TRUE(held.stationSaid.startsWith(off)) << held.stationSaid.toStdString();
    EXPECT_EQ(this->TakeWrites(), "") << "nothing goes out onto a dead track";

    Task<AccessoryOutcome> switchingOn = this->link.PowerTrackForRun();
    EXPECT_EQ(this->TakeWrites(), this->x.connect);
    EXPECT_FALSE(switchingOn.Done()) << "the run waits for the station's report";
    this->Hear(this->x.trackOn);
    const AccessoryOutcome power = Await(std::move(switchingOn));
    EXPECT_EQ(power.result, Outcome::CarriedOut) << off;
    EXPECT_TRUE(power.stationSaid.startsWith(off)) << "the user is told what the station said";
    EXPECT_EQ(this->Step(true, true).result, Outcome::CarriedOut) << off;
    this->TakeWrites();
  }

  // A station that leaves the track off keeps the run from starting.
  this->Hear(this->x.trackOff.front());
  const AccessoryOutcome stillOff = Await(this->link.PowerTrackForRun());
  EXPECT_EQ(stillOff.result, Outcome::Lost);
  EXPECT_TRUE(stillOff.stationSaid.contains(this->x.trackOn)) << stillOff.stationSaid.toStdString();
  EXPECT_EQ(this->TakeWrites(), this->x.connect);
  EXPECT_EQ(this->Step(true, true).result, Outcome::Refused);

  // A new connection switches the track on: what was reported before it no longer counts.
  this->port.Close();
  this->ConnectAnswered();
  EXPECT_EQ(this->Step(true, true).result, Outcome::CarriedOut);
}

// A message cut short when the port closed belongs to no later connection.
TYPED_TEST(AnsweringLinkTest, EachConnectFramesOnlyWhatItsStationSaysFromThen) {
  this->ConnectAnswered();
  this->Hear(QByteArray::fromHex(this->x.trackOn).left(1));
  this->port.Close();
  const qsizetype before = this->observer.memo3.Lines().size();
  this->ConnectAnswered();
  EXPECT_EQ(this->observer.memo3.Lines().mid(before), this->x.logged);
  EXPECT_EQ(this->link.ReceiveHexBuffer(), "");
  EXPECT_EQ(this->Step(true, true).result, Outcome::CarriedOut);
}

// What a Märklin step comes to at its end, by what CTS did since the connect and whether the
// bytes left the port: CTS at the connect, then CTS set in the solenoid pulse, in order. (CTS
// never seen, dropped for good, and dropped with the bytes held back: MaerklinCtsRun.)
struct MaerklinStep {
  const char* name;
  bool ctsFlow;
  bool ctsAtConnect;
  std::vector<bool> ctsInPulse;
  Outcome result;
  Missing missing = Missing::None;
};

class MaerklinStepTest : public SerialLinkTest<MaerklinLink>,
                         public testing::WithParamInterface<MaerklinStep> {};

TEST_P(MaerklinStepTest, CountsWhenItsBytesLeftThePortAndCtsHeld) {
  const MaerklinStep& c = GetParam();
  port.FlowControl().SetOutCTSFlow(c.ctsFlow);
  line->SetSignal(csCTS, c.ctsAtConnect);
  Await(link.Connect());

  Task<AccessoryOutcome> step = link.SwitchAccessory({3});
  for (const bool on : c.ctsInPulse) SetCts(on);
  const AccessoryOutcome outcome = Await(link.OutcomeAtStepEnd(Await(std::move(step))));

  EXPECT_EQ(outcome.result, c.result);
  EXPECT_EQ(outcome.missing, c.missing);
  const AccessoryOutcome lost = AccessoryOutcome::Lost(QStringLiteral("gone"));
  EXPECT_EQ(Await(link.OutcomeAtStepEnd(lost)).stationSaid, lost.stationSaid) << "a failure stands";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cts, MaerklinStepTest, testing::Values(
    MaerklinStep{"HeldOn", true, true, {}, Outcome::CarriedOut},
    MaerklinStep{"DroppedAndBack", false, true, {false, true}, Outcome::Lost,
                 Missing::ClearToSendDropped},
    MaerklinStep{"FirstSeenInTheStep", false, false, {true}, Outcome::Lost,
                 Missing::ClearToSendDropped},
    MaerklinStep{"InterfaceOffHoldsTheBytes", true, false, {}, Outcome::Lost,
                 Missing::BytesNotSent}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
