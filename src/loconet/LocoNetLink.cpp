#include "loconet/LocoNetLink.h"

#include <exception>
#include <utility>

#include "link/OpenSerialPort.h"
#include "loconet/LocoNetMessage.h"
#include "loconet/LocoNetReceiver.h"
#include "loconet/LocoNetVocabulary.h"
#include "platform/Exception.h"
#include "platform/ExceptionDisplay.h"
#include "platform/Pause.h"
#include "platform/UserNotifier.h"
#include "serial/SerialPort.h"

namespace {

constexpr int kSwitchPulseMs = 200;
// The direction the programming run uses: each turnout's output with the direction bit set.
constexpr int kProgrammingDirection = 0;

QByteArray Opcode(unsigned char opcode) {
  return QByteArray(1, static_cast<char>(opcode));
}

}  // namespace

LocoNetLink::LocoNetLink(SerialPort& port, LinkObserver& observer)
    : port_(port), observer_(observer) {}

Task<void> LocoNetLink::Attach() {
  port_.SetStopBits(sbOneStopBit);
  port_.SetBaudRate(br19200);
  co_return;
}

// After each message the events already pending run (Pause(0)), so that its echo, when it is
// there, is heard and logged before the link goes on.
Task<bool> LocoNetLink::Connect() {
  // Bytes of an earlier connection would be framed with this one's.
  received_.text.clear();
  // Without the receive event nothing the Intellibox says would reach the parser.
  co_await OpenSerialPort(port_, kAllSerialEvents);
  // Until the power-on comes back the station has shown nothing: a step's echoes are required
  // only of a station that gives them.
  watch_.Connected();
  SendEchoed(Opcode(LocoNet::kGlobalPowerOn));
  co_await Pause(0);
  co_return true;
}

Task<void> LocoNetLink::SwitchPowerOff() {
  SendLocoNet(Opcode(LocoNet::kGlobalPowerOff));
  co_await Pause(0);
}

void LocoNetLink::SendLocoNet(const QByteArray& message) {
  for (const char byte : LocoNetMessage(message)) port_.WriteStr(QByteArray(1, byte));
}

Task<void> LocoNetLink::LocoNetSwitch(int turnout, int direction) {
  const LocoNetSwitchRequest request = LocoNetSwitchMessages(turnout, direction);
  SendEchoed(request.outputOn);
  co_await Pause(kSwitchPulseMs);
  if (watch_.Refusing()) co_return;
  SendEchoed(request.outputOff);
  co_await Pause(0);
}

void LocoNetLink::SendEchoed(const QByteArray& message) {
  const QByteArray echo = LocoNetMessage(message);
  watch_.Await(echo,
               QStringLiteral("no echo of %1").arg(QString::fromLatin1(echo.toHex(' ').toUpper())));
  SendLocoNet(message);
}

Task<AccessoryOutcome> LocoNetLink::PowerTrackForRun() {
  return watch_.SwitchTrackOn(QStringLiteral("the global power on"),
                              QStringLiteral("the global power on 83 7C did not come back"),
                              [this] { SendEchoed(Opcode(LocoNet::kGlobalPowerOn)); });
}

Task<AccessoryOutcome> LocoNetLink::SwitchAccessory(AccessoryCommand command) {
  return watch_.Step(QStringLiteral("the switch request"),
                     [this, turnout = command.turnout + TurnoutOffset()] {
                       return LocoNetSwitch(turnout, kProgrammingDirection);
                     });
}

Task<AccessoryOutcome> LocoNetLink::OutcomeAtStepEnd(AccessoryOutcome returned) {
  co_return watch_.AtStepEnd(returned);
}

int LocoNetLink::HighestTurnout() const {
  return LocoNet::kHighestTurnout;
}

void LocoNetLink::Received(const QByteArray& bytes) {
  // Runs inside the port's receive event: whatever went wrong is logged, never raised.
  try {
    received_.Append(bytes);
    ParseLocoNet();
  } catch (const std::exception& error) {
    observer_.LogConnection(MessageOf(error));
  }
}

void LocoNetLink::ParseLocoNet() {
  LocoNetParse parsed = ParseLocoNetBuffer(std::move(received_.text));
  received_.text = std::move(parsed.rest);

  std::exception_ptr failedAnswer;
  for (const LocoNetAction& action : parsed.actions) {
    switch (action.kind) {
      case LocoNetAction::Kind::LogLine:
        observer_.LogReceived(QString::fromLatin1(action.bytes));
        Hear(QByteArray::fromHex(action.bytes));
        break;
      case LocoNetAction::Kind::Beep:
        MessageBeep(0);
        break;
      case LocoNetAction::Kind::Send:
        // After one failed write the port is not tried again in this call: each further write
        // could block for its whole timeout.
        if (failedAnswer) break;
        try {
          SendLocoNet(action.bytes);
        } catch (const std::exception&) {
          failedAnswer = std::current_exception();
        }
        break;
    }
  }
  // Shown as any failing handler's error is shown, but only now that every line is logged.
  if (failedAnswer) RunGuarded([&] { std::rethrow_exception(failedAnswer); });
}

void LocoNetLink::Hear(const QByteArray& message) {
  watch_.Heard(message);
  const auto said = [&](const char* meaning) {
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(message.toHex(' ').toUpper()),
                                        QString::fromLatin1(meaning));
  };
  // Whoever switched it, the station's stop or go key, a short or this program.
  if (const char* off = LocoNet::TrackOffMeaning(message)) watch_.Power().ReportedOff(said(off));
  if (LocoNet::IsGlobalPowerOn(message)) watch_.Power().ReportedOn();
  if (const char* meaning = LocoNet::RefusalMeaning(message)) watch_.Refused(said(meaning));
}
