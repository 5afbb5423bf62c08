#include "p50x/P50XLink.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <utility>

#include "link/LinkObserver.h"
#include "p50x/P50XDecoderContext.h"
#include "p50x/P50XDetection.h"
#include "p50x/P50XReplyDecoders.h"
#include "p50x/P50XReplyWait.h"
#include "p50x/P50XVocabulary.h"
#include "serial/SerialPort.h"
#include "serial/SerialPortError.h"

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
// The rest of a reply read in part, or of one whose command was ended, is through by then.
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

  Task<unsigned char> ReadByte() override {
    co_await link_.ReadReplyBytes(1, Clock::now() + kReplyByteLimit);
    co_return link_.replyByte_;
  }
  Task<QByteArray> ReadBlock(int count) override {
    co_await link_.ReadReplyBytes(count, Clock::now() + kReplyByteLimit);
    co_return link_.replyBuffer_;
  }
  void ShowStatus(const QString& text) override { link_.observer_.ShowReceiveStatus(text); }
  void AddLogLine(const QString& line) override { link_.observer_.LogConnection(line); }
  Task<void> SendFollowUp(unsigned char command) override {
    co_await link_.WriteCommand(SingleByte(command));
  }
  void ShowVersionValue(StationVersionField field, const QString& text) override {
    link_.observer_.ShowVersionValue(field, text);
  }
  Task<void> Sleep(int milliseconds) override { co_await link_.PauseLink(milliseconds); }
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

P50XLink::P50XLink(SerialPort& port, LinkObserver& observer) : port_(port), observer_(observer) {}

P50XLink::~P50XLink() = default;

Task<void> P50XLink::Attach() {
  port_.SetStopBits(sbTwoStopBits);
  port_.SetBaudRate(br19200);
  xPrefixMode_ = true;
  co_return;
}

Task<bool> P50XLink::Connect() {
  // Without a command station the link would only wait for replies that never come.
  const bool detected = co_await DetectP50XInterface();
  if (!detected) co_return false;
  power_.Connected();
  co_await SendP50X(SingleByte(P50X::XPwrOn));
  co_return true;
}

Task<AccessoryOutcome> P50XLink::PowerTrackForRun() {
  const std::optional<QString> off = power_.Off();
  if (!off) co_return AccessoryOutcome::CarriedOut();
  try {
    const bool answered = co_await SendP50X(SingleByte(P50X::XPwrOn));
    if (!answered) co_return AccessoryOutcome::Lost(kNoReply);
  } catch (const SerialPortError& error) {
    co_return AccessoryOutcome::Lost(error.Message());
  }
  if (power_.Off()) {
    co_return AccessoryOutcome::Refused(QStringLiteral("power on answered 0x%1")
                                            .arg(replyByte_, 2, 16, QLatin1Char('0'))
                                            .toUpper());
  }
  co_return AccessoryOutcome::CarriedOut(*off);
}

Task<void> P50XLink::SwitchPowerOff() {
  co_await SendP50X(SingleByte(P50X::XPwrOff));
}

Task<AccessoryOutcome> P50XLink::SwitchAccessory(AccessoryCommand command) {
  stepMark_ = power_.Mark();
  // Nothing goes out onto a track the station has reported without power.
  if (const std::optional<AccessoryOutcome> refused = power_.StepRefusal(stepMark_))
    co_return *refused;
  try {
    co_return co_await SwitchTurnoutP50X(command.turnout, 0);
  } catch (const SerialPortError& error) {
    co_return AccessoryOutcome::Lost(error.Message());
  }
}

Task<AccessoryOutcome> P50XLink::OutcomeAtStepEnd(AccessoryOutcome returned) {
  // The event poll runs in the step's pause: a power off it hears there is this step's.
  if (returned.Failed()) co_return returned;
  co_return power_.StepRefusal(stepMark_).value_or(returned);
}

Task<void> P50XLink::PollEvents() {
  if (scope_.Busy()) co_return;
  co_await SendP50X(SingleByte(P50X::XEvent));
}

Task<bool> P50XLink::Outcome(P50XCommandScope::Turn turn, Task<void> command) {
  try {
    co_await std::move(command);
  } catch (const P50XNoReply&) {
    turn.Finish();
    observer_.LogConnection(kNoReply);
    // Whatever arrives late belongs to the given-up command, not to the next one, which throws
    // it away first.
    lateBytesQuiet_ = kGivenUpReplyQuiet;
    co_return false;
  } catch (...) {
    turn.Finish();
    throw;
  }
  turn.Finish();
  co_return true;
}

Task<P50XInputWait> P50XLink::AwaitReply(int count, Clock::time_point deadline) {
  scope_.ReadStarted(count, deadline);
  const P50XInputWait wait = co_await WaitForP50XInput(port_, count, deadline);
  scope_.ReadEnded();
  co_return wait;
}

Task<void> P50XLink::ReadReplyBytes(int count, Clock::time_point deadline) {
  const P50XInputWait wait = co_await AwaitReply(count, deadline);
  if (wait == P50XInputWait::TimedOut) throw P50XNoReply();
  QByteArray bytes;
  port_.ReadStr(bytes, count);
  if (count <= 0) co_return;
  replyBuffer_ = bytes;
  replyByte_ = bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes[0]);
}

Task<void> P50XLink::LetLateBytesIn() {
  if (const std::optional<P50XCommandScope::OwedReply> owed = scope_.TakeOwed()) {
    co_await WaitForP50XInput(port_, owed->bytes, owed->deadline);
    lateBytesQuiet_ = std::max(lateBytesQuiet_, kTrailingReplyQuiet);
  }
  if (lateBytesQuiet_ == std::chrono::milliseconds::zero()) co_return;
  const auto quiet = std::exchange(lateBytesQuiet_, std::chrono::milliseconds::zero());
  const auto limit = Clock::now() + kLateBytesLimit;
  P50XInputWait wait;
  do {
    wait = co_await WaitForP50XInput(port_, port_.InputCount() + 1,
                                     std::min(Clock::now() + quiet, limit));
  } while (wait == P50XInputWait::Arrived && Clock::now() < limit);
  port_.ClearBuffer(true, false);
}

Pause P50XLink::PauseLink(int milliseconds) const {
  return Pause(pauseLength_ ? pauseLength_(milliseconds) : milliseconds);
}

Task<bool> P50XLink::SendP50X(QByteArray command) {
  P50XCommandScope::Turn turn = co_await scope_.Take();
  co_return co_await Outcome(std::move(turn), WriteCommand(std::move(command)));
}

Task<void> P50XLink::WriteCommand(QByteArray command) {
  if (command.isEmpty()) co_return;
  const auto commandByte = static_cast<unsigned char>(command[0]);
  QByteArray frame = command;
  if (xPrefixMode_) frame.prepend(static_cast<char>(P50X::kPrefix));
  if (commandByte < P50X::kFirstBinaryByte) {
    frame.append('\r');
    for (const char byte : frame) {
      if (!port_.Connected()) continue;
      port_.WriteStr(QByteArray(1, byte));
      co_await PauseLink(kAsciiBytePauseMs);
    }
    co_return;
  }
  co_await LetLateBytesIn();
  // A turnout's reply decides a step of the run, and the event query's sends commands of its
  // own: each must be bytes that came after its command, anything older is some other
  // command's. The poll emptying the line as well keeps a stray byte from being read as each
  // poll's reply in turn, with the real one always still on its way.
  if (commandByte == P50X::XTrnt || commandByte == P50X::XEvent) port_.ClearBuffer(true, false);
  port_.WriteStr(frame);
  PortContext context(*this);
  co_await DecodeP50XReply(commandByte, context);
}

Task<QByteArray> P50XLink::ReadUntilPrompt() {
  QByteArray text;
  const auto deadline = Clock::now() + kPromptReplyLimit;
  do {
    co_await ReadReplyBytes(1, deadline);
    if (replyByte_ != 0) text.append(static_cast<char>(replyByte_));
  } while (replyByte_ != P50X::kPrompt);
  co_return text;
}

Task<AccessoryOutcome> P50XLink::SwitchTurnoutP50X(int address, int direction) {
  // A refusal stops the command at once: the off frame would only be refused as well, and the
  // run must not go on as if the decoder had heard anything.
  for (const bool outputOn : {true, false}) {
    if (!outputOn) co_await Pause(kTurnoutOnTimeMs);
    const bool answered = co_await SendP50X(P50X::TurnoutFrame(address, direction, outputOn));
    if (!answered) co_return AccessoryOutcome::Lost(kNoReply);
    if (!TurnoutAccepted(replyByte_))
      co_return AccessoryOutcome::Refused(TurnoutReplySaid(replyByte_));
  }
  co_return AccessoryOutcome::CarriedOut(TurnoutReplySaid(replyByte_));
}

Task<bool> P50XLink::DetectP50XInterface() {
  P50XCommandScope::Turn turn = co_await scope_.Take();
  // Detection empties the line itself: nothing of an earlier command is owed any more.
  lateBytesQuiet_ = std::chrono::milliseconds::zero();
  scope_.TakeOwed();
  P50XDetection detection(*this, port_, observer_);
  const bool answered = co_await Outcome(std::move(turn), detection.Run());
  if (!answered) co_return false;
  co_return detection.Ready();
}
