#include "maerklin/MaerklinLink.h"

#include "CPort/TComPort.h"
#include "link/LostOnWriteError.h"
#include "link/OpenSerialPort.h"
#include "maerklin/MaerklinBytes.h"

namespace {

QByteArray SingleByte(char value) {
  return QByteArray(1, value);
}

}  // namespace

MaerklinLink::MaerklinLink(TComPort& port, LinkObserver& observer)
    : port_(port), observer_(observer) {}

void MaerklinLink::Attach() {
  port_.SetStopBits(sbTwoStopBits);
  port_.SetBaudRate(br2400);
}

bool MaerklinLink::Connect() {
  // Only this connection's CTS counts; the port reports it as it opens.
  clearToSend_ = clearToSendSeen_ = false;
  // The interface's bytes are kept, so they must still be received.
  OpenSerialPort(port_, kAllComEvents);
  port_.WriteStr(SingleByte(Maerklin::kGo));
  return true;
}

void MaerklinLink::SwitchPowerOff() {
  port_.WriteStr(SingleByte(Maerklin::kStop));
}

void MaerklinLink::MaerklinSwitch(int turnout) {
  port_.WriteStr(SingleByte(Maerklin::kTurnoutGreen));
  port_.WriteStr(SingleByte(static_cast<char>(turnout & Maerklin::kTurnoutByteMask)));
  observer_.WaitMs(Maerklin::kSolenoidPulseMs);
  port_.WriteStr(SingleByte(Maerklin::kSolenoidsOff));
}

AccessoryOutcome MaerklinLink::SwitchAccessory(const AccessoryCommand& command) {
  clearToSendHeld_ = clearToSend_;
  if (auto lost = LostOnWriteError(QStringLiteral("the turnout command"),
                                   [&] { MaerklinSwitch(command.turnout + TurnoutOffset()); }))
    return *lost;
  return AccessoryOutcome::CarriedOut();
}

AccessoryOutcome MaerklinLink::OutcomeAtStepEnd(const AccessoryOutcome& returned) {
  using Missing = AccessoryOutcome::MissingConfirmation;
  if (returned.Failed()) return returned;
  if (const int queued = port_.OutputCount())
    return AccessoryOutcome::NotConfirmed(
        Missing::BytesNotSent,
        QStringLiteral("%1 byte(s) still waiting in the port's output queue").arg(queued));
  if (!clearToSendSeen_) return AccessoryOutcome::Unconfirmed();
  if (!clearToSendHeld_)
    return AccessoryOutcome::NotConfirmed(Missing::ClearToSendDropped,
                                          QStringLiteral("CTS was not on throughout the step"));
  return AccessoryOutcome::CarriedOut();
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
