#include "loconet/LocoNetLink.h"

#include <exception>
#include <utility>

#include "CPort/TComPort.h"
#include "link/OpenSerialPort.h"
#include "loconet/LocoNetMessage.h"
#include "loconet/LocoNetReceiver.h"
#include "loconet/LocoNetVocabulary.h"
#include "platform/Exception.h"
#include "platform/ExceptionDisplay.h"
#include "platform/Messages.h"
#include "platform/UserNotifier.h"

namespace {

constexpr int kSwitchPulseMs = 200;
// The direction the programming run uses: each turnout's output with the direction bit set.
constexpr int kProgrammingDirection = 0;

QByteArray Opcode(unsigned char opcode) {
  return QByteArray(1, static_cast<char>(opcode));
}

}  // namespace

LocoNetLink::LocoNetLink(TComPort& port, LinkObserver& observer)
    : port_(port), observer_(observer) {}

void LocoNetLink::Attach() {
  port_.SetStopBits(sbOneStopBit);
  port_.SetBaudRate(br19200);
}

bool LocoNetLink::Connect() {
  // Bytes of an earlier connection would be framed with this one's.
  received_.text.clear();
  // Without the receive event nothing the Intellibox says would reach the parser.
  OpenSerialPort(port_, kAllComEvents);
  // Until the power-on comes back the station has shown nothing: a step's echoes are required
  // only of a station that gives them.
  watch_.Connected();
  SendEchoed(Opcode(LocoNet::kGlobalPowerOn));
  return true;
}

void LocoNetLink::SwitchPowerOff() {
  SendLocoNet(Opcode(LocoNet::kGlobalPowerOff));
}

void LocoNetLink::SendLocoNet(const QByteArray& message) {
  for (const char byte : LocoNetMessage(message)) port_.WriteStr(QByteArray(1, byte));
  ProcessMessages();
}

void LocoNetLink::LocoNetSwitch(int turnout, int direction) {
  const LocoNetSwitchRequest request = LocoNetSwitchMessages(turnout, direction);
  SendEchoed(request.outputOn);
  observer_.WaitMs(kSwitchPulseMs);
  if (watch_.Refusing()) return;
  SendEchoed(request.outputOff);
}

void LocoNetLink::SendEchoed(const QByteArray& message) {
  const QByteArray echo = LocoNetMessage(message);
  watch_.Await(echo,
               QStringLiteral("no echo of %1").arg(QString::fromLatin1(echo.toHex(' ').toUpper())));
  SendLocoNet(message);
}

AccessoryOutcome LocoNetLink::PowerTrackForRun() {
  return watch_.SwitchTrackOn(observer_, QStringLiteral("the global power on"),
                              QStringLiteral("the global power on 83 7C did not come back"),
                              [&] { SendEchoed(Opcode(LocoNet::kGlobalPowerOn)); });
}

AccessoryOutcome LocoNetLink::SwitchAccessory(const AccessoryCommand& command) {
  return watch_.Step(QStringLiteral("the switch request"), [&] {
    LocoNetSwitch(command.turnout + TurnoutOffset(), kProgrammingDirection);
  });
}

AccessoryOutcome LocoNetLink::OutcomeAtStepEnd(const AccessoryOutcome& returned) {
  return watch_.AtStepEnd(returned);
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
  // The buffer is cut before anything is acted on: an answer processes window messages, and a
  // receive event handled there must find only the bytes this call has not taken.
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
