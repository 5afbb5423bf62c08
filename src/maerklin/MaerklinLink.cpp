#include "maerklin/MaerklinLink.h"

#include "link/LostOnWriteError.h"
#include "link/OpenSerialPort.h"
#include "maerklin/MaerklinBytes.h"
#include "platform/Pause.h"
#include "serial/SerialPort.h"

namespace {

QByteArray SingleByte(char value) {
  return QByteArray(1, value);
}

}  // namespace

MaerklinLink::MaerklinLink(SerialPort& port, LinkObserver&) : port_(port) {}

Task<void> MaerklinLink::Attach() {
  port_.SetStopBits(sbTwoStopBits);
  port_.SetBaudRate(br2400);
  co_return;
}

Task<bool> MaerklinLink::Connect() {
  // Only this connection's CTS counts; the port reports it as it opens.
  clearToSend_ = clearToSendSeen_ = false;
  // The interface's bytes are kept, so they must still be received.
  co_await OpenSerialPort(port_, kAllSerialEvents);
  port_.WriteStr(SingleByte(Maerklin::kGo));
  co_return true;
}

Task<void> MaerklinLink::SwitchPowerOff() {
  port_.WriteStr(SingleByte(Maerklin::kStop));
  co_return;
}

Task<void> MaerklinLink::MaerklinSwitch(int turnout) {
  port_.WriteStr(SingleByte(Maerklin::kTurnoutGreen));
  port_.WriteStr(SingleByte(static_cast<char>(turnout & Maerklin::kTurnoutByteMask)));
  co_await Pause(Maerklin::kSolenoidPulseMs);
  port_.WriteStr(SingleByte(Maerklin::kSolenoidsOff));
}

Task<AccessoryOutcome> MaerklinLink::SwitchAccessory(AccessoryCommand command) {
  clearToSendHeld_ = clearToSend_;
  const std::optional<AccessoryOutcome> lost = co_await LostOnWriteError(
      QStringLiteral("the turnout command"),
      [this, turnout = command.turnout + TurnoutOffset()] { return MaerklinSwitch(turnout); });
  if (lost) co_return *lost;
  co_return AccessoryOutcome::CarriedOut();
}

Task<AccessoryOutcome> MaerklinLink::OutcomeAtStepEnd(AccessoryOutcome returned) {
  using Missing = AccessoryOutcome::MissingConfirmation;
  if (returned.Failed()) co_return returned;
  if (const int queued = port_.OutputCount())
    co_return AccessoryOutcome::NotConfirmed(
        Missing::BytesNotSent,
        QStringLiteral("%1 byte(s) still waiting in the port's output queue").arg(queued));
  if (!clearToSendSeen_) co_return AccessoryOutcome::Unconfirmed();
  if (!clearToSendHeld_)
    co_return AccessoryOutcome::NotConfirmed(Missing::ClearToSendDropped,
                                             QStringLiteral("CTS was not on throughout the step"));
  co_return AccessoryOutcome::CarriedOut();
}

void MaerklinLink::ClearToSendChanged(bool on) {
  clearToSend_ = on;
  if (on)
    clearToSendSeen_ = true;
  else
    clearToSendHeld_ = false;
}

void MaerklinLink::Received(const QByteArray& bytes) {
  received_.Append(bytes);
}

int MaerklinLink::HighestTurnout() const {
  return Maerklin::kHighestTurnout;
}
