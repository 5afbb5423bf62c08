#include "lenz/LenzLink.h"

#include <exception>
#include <optional>
#include <utility>

#include "lenz/LenzVocabulary.h"
#include "link/OpenSerialPort.h"
#include "platform/Exception.h"
#include "platform/Pause.h"
#include "serial/SerialPort.h"

namespace {

constexpr int kSwitchPulseMs = 250;

}  // namespace

LenzLink::LenzLink(SerialPort& port, LinkObserver& observer) : port_(port), observer_(observer) {}

Task<void> LenzLink::Attach() {
  port_.SetBaudRate(br9600);
  port_.SetStopBits(sbOneStopBit);
  port_.FlowControl().SetOutCTSFlow(true);
  port_.SetEvents({evRxChar, evCTS});
  co_return;
}

Task<bool> LenzLink::Connect() {
  // Bytes of an earlier connection would be framed with this one's.
  received_.text.clear();
  // Without the receive event the interface's answers would never be heard.
  const SerialEvents events = {evRxChar, evCTS};
  co_await OpenSerialPort(port_, events);
  watch_.Connected();
  SendResumeOperations();
  co_return true;
}

void LenzLink::SendResumeOperations() {
  LenzFrameTable[0] = Lenz::kHeaderResumeOperations;
  LenzFrameTable[1] = Lenz::kResumeOperations;
  SendLenz();
}

Task<AccessoryOutcome> LenzLink::PowerTrackForRun() {
  return watch_.SwitchTrackOn(
      QStringLiteral("resume operations"),
      QStringLiteral("no broadcast 61 01 60 (normal operation resumed) after resume operations"),
      [this] { SendResumeOperations(); });
}

Task<void> LenzLink::SwitchPowerOff() {
  LenzFrameTable[0] = Lenz::kHeaderStopAllLocomotives;
  SendLenz();
  co_return;
}

void LenzLink::SendLenz() {
  port_.WriteStr(BuildLenzFrame(LenzFrameTable));
}

void LenzLink::SendAccessoryOperation(int address, int data) {
  LenzFrameTable[0] = Lenz::kHeaderAccessoryOperation;
  LenzFrameTable[1] = address;
  LenzFrameTable[2] = data;
  watch_.Await(Lenz::PassedOnAnswer(),
               QStringLiteral("no answer 01 04 05 to %1")
                   .arg(QString::fromLatin1(BuildLenzFrame(LenzFrameTable).toHex(' ').toUpper())));
  SendLenz();
}

Task<void> LenzLink::LenzSwitch(int turnout) {
  const int address = (turnout - 1) / Lenz::kTurnoutsPerAddress;
  const int output = Lenz::kOutputsPerTurnout * ((turnout - 1) % Lenz::kTurnoutsPerAddress);
  SendAccessoryOperation(address, Lenz::kAccessoryOutputOn + output);
  co_await Pause(kSwitchPulseMs);
  // A refusal that came with the pause's end still holds the output-off back.
  co_await Pause(0);
  if (watch_.Refusing()) co_return;
  SendAccessoryOperation(address, Lenz::kAccessoryOutputOff + output);
}

Task<AccessoryOutcome> LenzLink::SwitchAccessory(AccessoryCommand command) {
  return watch_.Step(
      QStringLiteral("the accessory operation"),
      [this, turnout = command.turnout + TurnoutOffset()] { return LenzSwitch(turnout); });
}

Task<AccessoryOutcome> LenzLink::OutcomeAtStepEnd(AccessoryOutcome returned) {
  co_return watch_.AtStepEnd(returned);
}

int LenzLink::TurnoutOffset() const {
  return Lenz::kAddressOffset;
}

int LenzLink::HighestTurnout() const {
  return Lenz::kHighestTurnout;
}

void LenzLink::Received(const QByteArray& bytes) {
  // Runs inside the port's receive event: whatever went wrong is logged, never raised.
  try {
    received_.Append(bytes);
    ParseLenz();
  } catch (const std::exception& error) {
    observer_.LogConnection(MessageOf(error));
  }
}

void LenzLink::ParseLenz() {
  LenzParse parsed = ParseLenzBuffer(std::move(received_.text));
  received_.text = std::move(parsed.rest);
  for (const QString& line : parsed.lines) {
    observer_.LogReceived(line);
    Hear(line);
  }
}

void LenzLink::Hear(const QString& loggedFrame) {
  // Any frame at all shows the interface there: from then on it owes its answers.
  watch_.SignOfLife();
  const QByteArray frame = QByteArray::fromHex(loggedFrame.toLatin1());
  watch_.Heard(frame);
  const std::optional<QString> meaning = Lenz::RefusalMeaning(frame);
  const QString said =
      QStringLiteral("%1: %2").arg(loggedFrame.trimmed(), meaning.value_or(QString()));
  // The station broadcasts its power to every device, whoever switched it.
  if (frame == Lenz::TrackPowerOffBroadcast() || frame == Lenz::EmergencyStopBroadcast())
    watch_.Power().ReportedOff(said);
  if (frame == Lenz::NormalOperationResumedBroadcast()) watch_.Power().ReportedOn();
  if (meaning) watch_.Refused(said);
}
