#include "lenz/LenzLink.h"

#include <exception>
#include <utility>

#include "CPort/EComPort.h"
#include "CPort/TComPort.h"
#include "lenz/LenzVocabulary.h"
#include "link/OpenSerialPort.h"
#include "platform/Exception.h"
#include "platform/Messages.h"

namespace {

constexpr int kSwitchPulseMs = 250;

}  // namespace

LenzLink::LenzLink(TComPort& port, LinkObserver& observer) : port_(port), observer_(observer) {}

void LenzLink::Attach() {
  port_.SetBaudRate(br9600);
  port_.SetStopBits(sbOneStopBit);
  port_.FlowControl().SetOutCTSFlow(true);
  port_.SetEvents({evRxChar, evCTS});
}

bool LenzLink::Connect() {
  // Without the receive event the interface's answers would never be heard.
  OpenSerialPort(port_, {evRxChar, evCTS});
  LenzFrameTable[0] = Lenz::kHeaderResumeOperations;
  LenzFrameTable[1] = Lenz::kResumeOperations;
  SendLenz();
  return true;
}

void LenzLink::SwitchPowerOff() {
  LenzFrameTable[0] = Lenz::kHeaderStopAllLocomotives;
  SendLenz();
}

void LenzLink::SendLenz() {
  port_.WriteStr(BuildLenzFrame(LenzFrameTable));
}

void LenzLink::SendAccessoryOperation(int address, int data) {
  LenzFrameTable[0] = Lenz::kHeaderAccessoryOperation;
  LenzFrameTable[1] = address;
  LenzFrameTable[2] = data;
  SendLenz();
}

void LenzLink::LenzSwitch(int turnout) {
  const int address = (turnout - 1) / Lenz::kTurnoutsPerAddress;
  const int output = Lenz::kOutputsPerTurnout * ((turnout - 1) % Lenz::kTurnoutsPerAddress);
  SendAccessoryOperation(address, Lenz::kAccessoryOutputOn + output);
  observer_.WaitMs(kSwitchPulseMs);
  ProcessMessages();
  SendAccessoryOperation(address, Lenz::kAccessoryOutputOff + output);
}

AccessoryOutcome LenzLink::SwitchAccessory(const AccessoryCommand& command) {
  refusal_.reset();
  commandSent_ = true;
  try {
    LenzSwitch(command.turnout + TurnoutOffset());
  } catch (const EComPort& error) {
    return AccessoryOutcome::Lost(
        QStringLiteral("nothing: the accessory operation could not be written (%1)")
            .arg(error.Message()));
  }
  if (refusal_) return *std::exchange(refusal_, std::nullopt);
  return AccessoryOutcome::CarriedOut();
}

AccessoryOutcome LenzLink::OutcomeAtStepEnd(const AccessoryOutcome& returned) {
  if (refusal_ && !returned.Failed()) return *refusal_;
  return returned;
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
    NoteRefusal(line);
  }
}

void LenzLink::NoteRefusal(const QString& loggedFrame) {
  if (!commandSent_ || refusal_) return;
  const std::optional<QString> meaning =
      Lenz::InterfaceErrorMeaning(QByteArray::fromHex(loggedFrame.toLatin1()));
  if (!meaning) return;
  refusal_ =
      AccessoryOutcome::Refused(QStringLiteral("%1: %2").arg(loggedFrame.trimmed(), *meaning));
}
