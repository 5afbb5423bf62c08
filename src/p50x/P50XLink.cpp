#include "p50x/P50XLink.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <utility>

#include "CPort/EComPort.h"
#include "CPort/TComPort.h"
#include "link/LinkObserver.h"
#include "p50x/P50XDecoderContext.h"
#include "p50x/P50XDetection.h"
#include "p50x/P50XReplyDecoders.h"
#include "p50x/P50XReplyWait.h"
#include "p50x/P50XVocabulary.h"
#include "platform/Messages.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kReplyByteLimit = std::chrono::seconds(1);
constexpr auto kPromptReplyLimit = std::chrono::seconds(2);
constexpr int kAsciiBytePauseMs = 1;
constexpr int kTurnoutOnTimeMs = 200;
// A reply of several bytes comes in one go; this is ample for its last bytes to arrive.
constexpr int kTrailingReplySettleMs = 50;
// A reply that has not come within its limit may still be on its way; one that has not come
// after as long again of silence is taken never to come.
constexpr auto kGivenUpReplyQuiet = std::chrono::milliseconds(kReplyByteLimit);
constexpr auto kTrailingReplyQuiet = std::chrono::milliseconds(kTrailingReplySettleMs);
// A line that never falls quiet is not waited for any longer than this.
constexpr auto kLateBytesLimit = std::chrono::seconds(3);

const QString kNoReply = QStringLiteral("No reply from the command station");

QByteArray SingleByte(unsigned char byte) {
  return QByteArray(1, static_cast<char>(byte));
}

// The reply byte in hex, then the command station's words for it where it has any.
QString TurnoutReplySaid(unsigned char reply) {
  QString said =
      QStringLiteral("0x") + QStringLiteral("%1").arg(reply, 2, 16, QLatin1Char('0')).toUpper();
  if (const char* text = TurnoutReplyText(reply))
    said += QStringLiteral(": ") + QLatin1String(text);
  return said;
}

bool TurnoutAccepted(unsigned char reply) {
  return reply == P50X::kTurnoutAccepted || reply == P50X::kTurnoutFifoNearlyFull;
}

}  // namespace

class P50XLink::PortContext final : public P50XDecoderContext {
 public:
  explicit PortContext(P50XLink& link) : link_(link) {}

  unsigned char ReadByte() override {
    link_.ReadReplyBytes(1, Clock::now() + kReplyByteLimit);
    return link_.replyByte_;
  }
  QByteArray ReadBlock(int count) override {
    link_.ReadReplyBytes(count, Clock::now() + kReplyByteLimit);
    return link_.replyBuffer_;
  }
  void ShowStatus(const QString& text) override { link_.observer_.ShowReceiveStatus(text); }
  void AddLogLine(const QString& line) override { link_.observer_.LogConnection(line); }
  void SendFollowUp(unsigned char command) override { link_.SendP50X(SingleByte(command)); }
  void ShowVersionValue(StationVersionField field, const QString& text) override {
    link_.observer_.ShowVersionValue(field, text);
  }
  void Sleep(int milliseconds) override { link_.SleepLink(milliseconds); }
  void DiscardInput() override { link_.port_.ClearBuffer(true, false); }
  void TrackPowerReported(bool on, const QString& said) override {
    if (on)
      link_.power_.ReportedOn();
    else
      link_.power_.ReportedOff(said);
  }
  void LeaveRestUnread() override {
    link_.lateBytesQuiet_ = std::max(link_.lateBytesQuiet_, kTrailingReplyQuiet);
  }

 private:
  P50XLink& link_;
};

P50XLink::P50XLink(TComPort& port, LinkObserver& observer) : port_(port), observer_(observer) {}

P50XLink::~P50XLink() = default;

void P50XLink::Attach() {
  port_.SetStopBits(sbTwoStopBits);
  port_.SetBaudRate(br19200);
  xPrefixMode_ = true;
}

bool P50XLink::Connect() {
  // Without a command station the link would only wait for replies that never come.
  if (!DetectP50XInterface()) return false;
  power_.Connected();
  SendP50X(SingleByte(P50X::XPwrOn));
  return true;
}

AccessoryOutcome P50XLink::PowerTrackForRun() {
  const std::optional<QString> off = power_.Off();
  if (!off) return AccessoryOutcome::CarriedOut();
  try {
    if (!SendP50X(SingleByte(P50X::XPwrOn))) return AccessoryOutcome::Lost(kNoReply);
  } catch (const EComPort& error) {
    return AccessoryOutcome::Lost(error.Message());
  }
  if (power_.Off()) {
    return AccessoryOutcome::Refused(QStringLiteral("power on answered 0x%1")
                                         .arg(replyByte_, 2, 16, QLatin1Char('0'))
                                         .toUpper());
  }
  return AccessoryOutcome::CarriedOut(*off);
}

void P50XLink::SwitchPowerOff() {
  if (!scope_.Busy()) {
    P50XPowerOff();
    return;
  }
  // The close came while a command (a poll, as a rule) waits for the line. That command is
  // given up, and its reply let in and thrown away, so that it cannot be read as the
  // power-off's reply.
  const P50XCommandScope::Takeover takeover(scope_);
  const P50XCommandScope::EventWindow& givenUp = *takeover.GivenUp();
  if (givenUp.ExpectedBytes() > 0)
    WaitForP50XInput(port_, scope_, givenUp.ExpectedBytes(), givenUp.Deadline());
  SleepLink(kTrailingReplySettleMs);
  port_.ClearBuffer(true, false);
  P50XPowerOff();
}

AccessoryOutcome P50XLink::SwitchAccessory(const AccessoryCommand& command) {
  stepMark_ = power_.Mark();
  // Nothing goes out onto a track the station has reported without power.
  if (const std::optional<AccessoryOutcome> refused = power_.StepRefusal(stepMark_))
    return *refused;
  try {
    return SwitchTurnoutP50X(command.turnout, 0);
  } catch (const EComPort& error) {
    return AccessoryOutcome::Lost(error.Message());
  }
}

AccessoryOutcome P50XLink::OutcomeAtStepEnd(const AccessoryOutcome& returned) {
  // The event poll runs in the step's pause: a power off it hears there is this step's.
  if (returned.Failed()) return returned;
  return power_.StepRefusal(stepMark_).value_or(returned);
}

P50XCommandScope::Result P50XLink::RunCommand(const std::function<void()>& command) {
  const P50XCommandScope::Result result = scope_.Run(command);
  switch (result) {
    case P50XCommandScope::Result::Refused:
      observer_.LogConnection(
          QStringLiteral("Opdracht overgeslagen: de vorige opdracht wacht nog op antwoord van de "
                         "Centrale"));
      break;
    case P50XCommandScope::Result::NoReply:
      observer_.LogConnection(kNoReply);
      // Whatever arrives late belongs to the abandoned command, not to the next one, which
      // throws it away first.
      lateBytesQuiet_ = kGivenUpReplyQuiet;
      break;
    case P50XCommandScope::Result::Done:
    case P50XCommandScope::Result::Abandoned:
      break;
  }
  return result;
}

void P50XLink::ReadReplyBytes(int count, Clock::time_point deadline) {
  switch (WaitForP50XInput(port_, scope_, count, deadline)) {
    case P50XInputWait::Arrived:
      break;
    case P50XInputWait::TimedOut:
      throw P50XNoReply();
    case P50XInputWait::Abandoned:
      throw P50XCommandAbandoned();
  }
  QByteArray bytes;
  port_.ReadStr(bytes, count);
  if (count <= 0) return;
  replyBuffer_ = bytes;
  replyCount_ = count;
  replyByte_ = bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes[0]);
}

void P50XLink::LetLateBytesIn() {
  if (lateBytesQuiet_ == std::chrono::milliseconds::zero()) return;
  const auto quiet = std::exchange(lateBytesQuiet_, std::chrono::milliseconds::zero());
  const auto limit = Clock::now() + kLateBytesLimit;
  P50XInputWait wait;
  do {
    wait = WaitForP50XInput(port_, scope_, port_.InputCount() + 1,
                            std::min(Clock::now() + quiet, limit));
    if (wait == P50XInputWait::Abandoned) throw P50XCommandAbandoned();
  } while (wait == P50XInputWait::Arrived && Clock::now() < limit);
  port_.ClearBuffer(true, false);
}

void P50XLink::SleepLink(int milliseconds) const {
  if (sleep_)
    sleep_(milliseconds);
  else
    SleepMs(milliseconds);
}

bool P50XLink::SendP50X(const QByteArray& command) {
  if (command.isEmpty()) return true;
  const auto result = RunCommand([&] {
    const auto commandByte = static_cast<unsigned char>(command[0]);
    QByteArray frame = command;
    if (xPrefixMode_) frame.prepend(static_cast<char>(P50X::kPrefix));
    if (commandByte < P50X::kFirstBinaryByte) {
      frame.append('\r');
      for (char byte : frame) {
        if (!port_.Connected()) continue;
        port_.WriteStr(QByteArray(1, byte));
        SleepLink(kAsciiBytePauseMs);
      }
      return;
    }
    LetLateBytesIn();
    // A turnout's reply decides a step of the run, and the event query's sends commands of its
    // own: each must be bytes that came after its command, anything older is some other
    // command's. The poll emptying the line as well keeps a stray byte from being read as each
    // poll's reply in turn, with the real one always still on its way.
    if (commandByte == P50X::XTrnt || commandByte == P50X::XEvent) port_.ClearBuffer(true, false);
    port_.WriteStr(frame);
    DispatchP50XReply(commandByte);
  });
  return result == P50XCommandScope::Result::Done;
}

bool P50XLink::ReadP50XReply(int count) {
  return RunCommand([&] { ReadReplyBytes(count, Clock::now() + kReplyByteLimit); }) ==
         P50XCommandScope::Result::Done;
}

QByteArray P50XLink::ReadUntilPrompt() {
  QByteArray text;
  RunCommand([&] {
    const auto deadline = Clock::now() + kPromptReplyLimit;
    do {
      ReadReplyBytes(1, deadline);
      if (replyByte_ != 0) text.append(static_cast<char>(replyByte_));
    } while (replyByte_ != P50X::kPrompt);
  });
  return text;
}

void P50XLink::DispatchP50XReply(int commandByte) {
  RunCommand([&] {
    PortContext context(*this);
    DecodeP50XReply(commandByte, context);
  });
}

AccessoryOutcome P50XLink::SwitchTurnoutP50X(int address, int direction) {
  std::optional<unsigned char> refusal;
  unsigned char lastReply = P50X::kTurnoutAccepted;
  // A refusal stops the command at once: the off frame would only be refused as well, and the
  // run must not go on as if the decoder had heard anything.
  const auto sendFrame = [&](bool outputOn) {
    SendP50X(P50X::TurnoutFrame(address, direction, outputOn));
    lastReply = replyByte_;
    if (!TurnoutAccepted(lastReply)) refusal = lastReply;
  };
  const auto result = RunCommand([&] {
    sendFrame(true);
    if (refusal) return;
    {
      // The poll may run in this pause; no reply is outstanding, so it may send.
      const P50XCommandScope::EventWindow pause(scope_, false);
      observer_.WaitMs(kTurnoutOnTimeMs);
    }
    sendFrame(false);
  });
  switch (result) {
    case P50XCommandScope::Result::Done:
      if (refusal) return AccessoryOutcome::Refused(TurnoutReplySaid(*refusal));
      return AccessoryOutcome::CarriedOut(TurnoutReplySaid(lastReply));
    case P50XCommandScope::Result::Refused:
      return AccessoryOutcome::Lost(
          QStringLiteral("Not sent: another command was waiting for its reply"));
    case P50XCommandScope::Result::NoReply:
      return AccessoryOutcome::Lost(kNoReply);
    case P50XCommandScope::Result::Abandoned:
      break;
  }
  return AccessoryOutcome::Lost(QStringLiteral("Given up: the connection is being closed"));
}

void P50XLink::P50XPowerOff() {
  SendP50X(SingleByte(P50X::XPwrOff));
}

void P50XLink::P50XEventPoll() {
  if (P50XBusy()) return;
  SendP50X(SingleByte(P50X::XEvent));
}

bool P50XLink::DetectP50XInterface() {
  bool ready = false;
  // Detection empties the line itself: nothing of an earlier connection is owed any more.
  lateBytesQuiet_ = std::chrono::milliseconds::zero();
  RunCommand([&] { ready = P50XDetection(*this, scope_, port_, observer_).Run(); });
  return ready;
}
