#include "LenzSimulator.h"

namespace {

const QByteArray kResumeOperations = QByteArray::fromHex("2181");
const QByteArray kStopOperations = QByteArray::fromHex("2180");
const QByteArray kStopAllLocomotives = QByteArray::fromHex("80");
constexpr unsigned char kAccessoryOperation = 0x52;
constexpr unsigned char kFeedbackBroadcast = 0x42;

// What the interface says back.
const QByteArray kAcknowledgement = QByteArray::fromHex("010405");
const QByteArray kTransferError = QByteArray::fromHex("010100");
const QByteArray kTrackPowerOn = QByteArray::fromHex("610160");
const QByteArray kTrackPowerOff = QByteArray::fromHex("610061");
const QByteArray kEmergencyStop = QByteArray::fromHex("810081");
const QByteArray kCommandNotKnown = QByteArray::fromHex("6182E3");

qsizetype LenzFrameLength(const QByteArray& pending) {
  return (static_cast<unsigned char>(pending[0]) & 0x0F) + 2;
}

unsigned char Xor(const QByteArray& bytes) {
  unsigned char x = 0;
  for (char b : bytes) x ^= static_cast<unsigned char>(b);
  return x;
}

}  // namespace

LenzSimulator::LenzSimulator() : PtyPeer(ReaderStart::Deferred), splitter_(LenzFrameLength) {
  StartReader();
}

LenzSimulator::~LenzSimulator() {
  StopReader();
}

QByteArray LenzSimulator::Frame(const QByteArray& bytesWithoutCheck) {
  return bytesWithoutCheck + QByteArray(1, static_cast<char>(Xor(bytesWithoutCheck)));
}

void LenzSimulator::SendFeedback(int address, int data) {
  QByteArray broadcast(1, static_cast<char>(kFeedbackBroadcast));
  broadcast.append(static_cast<char>(address));
  broadcast.append(static_cast<char>(data));
  Send(Frame(broadcast));
}

std::vector<QByteArray> LenzSimulator::FramesHeard() const {
  std::lock_guard lock(mutex_);
  return framesHeard_;
}

void LenzSimulator::RefuseAccessoryOperations(const QByteArray& errorAnswer) {
  std::lock_guard lock(mutex_);
  accessoryRefusal_ = errorAnswer;
}

void LenzSimulator::CutTrackPower(bool emergencyStop) {
  {
    std::lock_guard lock(mutex_);
    trackPowered_ = false;
    accessoryCommandsBeforePowerCut_ = -1;
  }
  log_.ReportPower(false, emergencyStop ? QStringLiteral("(emergency stop, from the station)")
                                        : QStringLiteral("(track power off, from the station)"));
  Send(emergencyStop ? kEmergencyStop : kTrackPowerOff);
}

void LenzSimulator::SetTrackPowered(bool powered) {
  std::lock_guard lock(mutex_);
  trackPowered_ = powered;
}

bool LenzSimulator::TrackPowered() const {
  std::lock_guard lock(mutex_);
  return trackPowered_;
}

void LenzSimulator::CutTrackPowerAfterAccessoryCommands(int n, bool emergencyStop) {
  std::lock_guard lock(mutex_);
  accessoryCommandsBeforePowerCut_ = n;
  plannedCutIsEmergencyStop_ = emergencyStop;
}

void LenzSimulator::SetSilent(bool silent) {
  std::lock_guard lock(mutex_);
  silence_.SetSilent(silent);
}

void LenzSimulator::FallSilentAfterAccessoryCommands(int n) {
  std::lock_guard lock(mutex_);
  silence_.FallSilentAfterAccessoryCommands(n);
}

void LenzSimulator::OnReceived(const QByteArray& bytes) {
  std::vector<QByteArray> answered;
  QByteArray refusal;
  {
    std::lock_guard lock(mutex_);
    const std::vector<QByteArray> frames = splitter_.Take(bytes);
    framesHeard_.insert(framesHeard_.end(), frames.begin(), frames.end());
    for (const QByteArray& frame : frames)
      if (silence_.Passes(static_cast<unsigned char>(frame[0]) == kAccessoryOperation))
        answered.push_back(frame);
    refusal = accessoryRefusal_;
  }
  for (const QByteArray& frame : answered) {
    Answer(frame, refusal);
    bool cutPower = false;
    bool emergencyStop = false;
    {
      std::lock_guard lock(mutex_);
      // The output-off operation ends an accessory command.
      const bool commandEnds = static_cast<unsigned char>(frame[0]) == kAccessoryOperation &&
                               frame.size() == 4 && !(frame[2] & 0x08);
      if (commandEnds && accessoryCommandsBeforePowerCut_ > 0)
        cutPower = --accessoryCommandsBeforePowerCut_ == 0;
      emergencyStop = plannedCutIsEmergencyStop_;
    }
    if (cutPower) CutTrackPower(emergencyStop);
  }
}

void LenzSimulator::Answer(const QByteArray& frame, const QByteArray& refusal) {
  const QByteArray hex = frame.toHex(' ').toUpper();
  if (Xor(frame) != 0) {
    log_.ReportOther(QStringLiteral("frame %1 with a wrong check byte").arg(hex));
    Send(kTransferError);
    return;
  }
  const QByteArray command = frame.chopped(1);
  if (command == kResumeOperations) {
    SetTrackPowered(true);
    log_.ReportPower(true, QStringLiteral("(resume operations)"));
    Send(kTrackPowerOn);
  } else if (command == kStopOperations) {
    SetTrackPowered(false);
    log_.ReportPower(false, QStringLiteral("(stop operations)"));
    Send(kTrackPowerOff);
  } else if (command == kStopAllLocomotives) {
    SetTrackPowered(false);
    log_.ReportPower(false, QStringLiteral("(stop all locomotives)"));
    Send(kEmergencyStop);
  } else if (command.size() == 3 && static_cast<unsigned char>(command[0]) == kAccessoryOperation) {
    if (!refusal.isEmpty()) {
      log_.ReportOther(QStringLiteral("accessory operation %1 refused").arg(hex));
      Send(refusal);
      return;
    }
    // Data byte 1000 DBBP: D switches on, BB is the turnout within the address byte, P the
    // output of the pair.
    if (!TrackPowered()) {
      log_.ReportOther(
          QStringLiteral("accessory operation %1 on a track without power: nothing switched")
              .arg(hex));
      Send(kAcknowledgement);
      return;
    }
    const int address = static_cast<unsigned char>(command[1]);
    const int data = static_cast<unsigned char>(command[2]);
    const int turnout = address * 4 + ((data >> 1) & 3) + 1 - kAddressOffset;
    log_.ReportTurnout(turnout, (data & 0x08) != 0,
                       QStringLiteral("(Lenz turnout %1, output %2)")
                           .arg(turnout + kAddressOffset)
                           .arg((data & 1) + 1));
    Send(kAcknowledgement);
  } else {
    log_.ReportOther(QStringLiteral("frame %1, not known").arg(hex));
    Send(kCommandNotKnown);
  }
}
