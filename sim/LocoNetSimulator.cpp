#include "LocoNetSimulator.h"

namespace {

constexpr unsigned char kGlobalPowerOff = 0x82;
constexpr unsigned char kGlobalPowerOn = 0x83;
constexpr unsigned char kForceIdle = 0x85;
constexpr unsigned char kSwitchRequest = 0xB0;
constexpr unsigned char kLongAcknowledge = 0xB4;
constexpr unsigned char kMoveSlots = 0xBA;
constexpr unsigned char kPeerTransfer = 0xE5;
constexpr unsigned char kSlotData = 0xE7;
constexpr int kSlotDataLength = 0x0E;
// A long acknowledge names the opcode it answers without bit 7; this third byte refuses it.
constexpr char kRejected = 0x00;

// On the wire only an opcode has bit 7 set; bits 6 and 5 of the opcode give the message's
// length, the last group naming it in the byte after the opcode.
constexpr unsigned char kOpcodeBit = 0x80;
constexpr unsigned char kLengthBits = 0x60;
constexpr unsigned char kLengthInNextByte = 0x60;

int ByteAt(const QByteArray& message, int index) {
  return static_cast<unsigned char>(message[index]);
}

// The whole length of the message begun in `pending`, or 0 while it is not known yet.
int MessageLength(const QByteArray& pending) {
  const int lengthBits = ByteAt(pending, 0) & kLengthBits;
  if (lengthBits != kLengthInNextByte) return 2 + 2 * (lengthBits >> 5);
  if (pending.size() < 2) return 0;
  // A length that cannot cover the opcode and itself voids the message as soon as it is read.
  const int length = ByteAt(pending, 1);
  return length < 2 ? 1 : length;
}

// Every byte of a message, check byte included, exclusive-ored together gives FF.
bool CheckByteRight(const QByteArray& message) {
  unsigned char x = 0;
  for (const char byte : message) x ^= static_cast<unsigned char>(byte);
  return x == 0xFF;
}

}  // namespace

LocoNetSimulator::LocoNetSimulator() : PtyPeer(ReaderStart::Deferred) {
  StartReader();
}

LocoNetSimulator::~LocoNetSimulator() {
  StopReader();
}

QByteArray LocoNetSimulator::Message(const QByteArray& bytesWithoutCheck) {
  unsigned char x = 0xFF;
  for (const char byte : bytesWithoutCheck) x ^= static_cast<unsigned char>(byte);
  return bytesWithoutCheck + QByteArray(1, static_cast<char>(x));
}

void LocoNetSimulator::SendMessage(const QByteArray& bytesWithoutCheck) {
  Send(Message(bytesWithoutCheck));
}

void LocoNetSimulator::RefuseSwitchRequests(bool refuse) {
  std::lock_guard lock(mutex_);
  refuseSwitchRequests_ = refuse;
}

void LocoNetSimulator::SendSlotData(int slot, int status) {
  // slot, status, address 3, speed 0, forward, track power on and idle, no second address,
  // no sound, no throttle id.
  const unsigned char data[] = {kSlotData,
                                kSlotDataLength,
                                static_cast<unsigned char>(slot),
                                static_cast<unsigned char>(status),
                                0x03,
                                0x00,
                                0x20,
                                0x07,
                                0x00,
                                0x00,
                                0x00,
                                0x00,
                                0x00};
  SendMessage(QByteArray(reinterpret_cast<const char*>(data), sizeof data));
}

void LocoNetSimulator::SendPeerTransfer(const QByteArray& body) {
  QByteArray message(1, static_cast<char>(kPeerTransfer));
  message.append(static_cast<char>(body.size() + 3));
  SendMessage(message + body);
}

std::vector<QByteArray> LocoNetSimulator::MessagesHeard() const {
  std::lock_guard lock(mutex_);
  return messagesHeard_;
}

void LocoNetSimulator::CutTrackPower(bool emergencyStop) {
  QByteArray cut;
  {
    std::lock_guard lock(mutex_);
    cut = PowerCut(emergencyStop);
  }
  Send(cut);
}

void LocoNetSimulator::CutTrackPowerAfterAccessoryCommands(int n, bool emergencyStop) {
  std::lock_guard lock(mutex_);
  accessoryCommandsBeforePowerCut_ = n;
  plannedCutIsEmergencyStop_ = emergencyStop;
}

QByteArray LocoNetSimulator::PowerCut(bool emergencyStop) {
  trackPowered_ = false;
  accessoryCommandsBeforePowerCut_ = -1;
  log_.ReportPower(false, emergencyStop ? QStringLiteral("(emergency stop, from the station)")
                                        : QStringLiteral("(global power off, from the station)"));
  return Message(QByteArray(1, static_cast<char>(emergencyStop ? kForceIdle : kGlobalPowerOff)));
}

void LocoNetSimulator::SetSilent(bool silent) {
  std::lock_guard lock(mutex_);
  silence_.SetSilent(silent);
}

void LocoNetSimulator::FallSilentAfterAccessoryCommands(int n) {
  std::lock_guard lock(mutex_);
  silence_.FallSilentAfterAccessoryCommands(n);
}

void LocoNetSimulator::OnReceived(const QByteArray& bytes) {
  std::vector<QByteArray> messages;
  bool refuse = false;
  bool cutPower = false;
  bool emergencyStop = false;
  {
    std::lock_guard lock(mutex_);
    const std::vector<QByteArray> heard = Frame(bytes);
    messagesHeard_.insert(messagesHeard_.end(), heard.begin(), heard.end());
    for (const QByteArray& message : heard)
      if (silence_.Passes(ByteAt(message, 0) == kSwitchRequest)) messages.push_back(message);
    refuse = refuseSwitchRequests_;
    for (const QByteArray& message : messages) {
      // The output-off half ends an accessory command.
      const bool commandEnds = ByteAt(message, 0) == kSwitchRequest && !(ByteAt(message, 2) & 0x10);
      if (commandEnds && accessoryCommandsBeforePowerCut_ > 0) --accessoryCommandsBeforePowerCut_;
    }
    cutPower = accessoryCommandsBeforePowerCut_ == 0;
    emergencyStop = plannedCutIsEmergencyStop_;
  }
  for (const QByteArray& message : messages) {
    if (refuse && ByteAt(message, 0) == kSwitchRequest) {
      log_.ReportOther(QStringLiteral("switch request %1 rejected")
                           .arg(QString::fromLatin1(message.toHex(' ').toUpper())));
      // A refused request has still crossed the net: its echo comes before the rejection.
      Send(message);
      const char rejection[] = {static_cast<char>(kLongAcknowledge),
                                static_cast<char>(kSwitchRequest & ~kOpcodeBit), kRejected};
      SendMessage(QByteArray(rejection, sizeof rejection));
      continue;
    }
    Report(message);
    Send(message);
  }
  // After the echoes: the last command was carried out before the power went.
  if (cutPower) CutTrackPower(emergencyStop);
}

std::vector<QByteArray> LocoNetSimulator::Frame(const QByteArray& bytes) {
  std::vector<QByteArray> messages;
  for (const char byte : bytes) {
    if (static_cast<unsigned char>(byte) & kOpcodeBit) {
      // An opcode ends whatever message was still incomplete: that one never made it.
      pending_ = QByteArray(1, byte);
    } else if (pending_.isEmpty()) {
      continue;  // a data byte outside any message
    } else {
      pending_.append(byte);
    }
    const int length = MessageLength(pending_);
    if (length == 0 || pending_.size() < length) continue;
    if (pending_.size() == length && CheckByteRight(pending_)) messages.push_back(pending_);
    pending_.clear();
  }
  return messages;
}

void LocoNetSimulator::Report(const QByteArray& message) {
  std::lock_guard lock(mutex_);
  switch (ByteAt(message, 0)) {
    case kGlobalPowerOn:
      trackPowered_ = true;
      log_.ReportPower(true, QStringLiteral("(global power on)"));
      break;
    case kGlobalPowerOff:
      trackPowered_ = false;
      log_.ReportPower(false, QStringLiteral("(global power off)"));
      break;
    case kSwitchRequest: {
      if (!trackPowered_) {
        log_.ReportOther(QStringLiteral("switch request %1 on a track without power: no turnout "
                                        "switched")
                             .arg(QString::fromLatin1(message.toHex(' ').toUpper())));
        break;
      }
      // Third byte 0 0 D O A10..A7: O switches the output on, D is the direction.
      const int high = ByteAt(message, 2);
      const int turnout = ByteAt(message, 1) + 128 * (high & 0x0F) + 1;
      log_.ReportTurnout(
          turnout, (high & 0x10) != 0,
          (high & 0x20) != 0 ? QStringLiteral("(closed)") : QStringLiteral("(thrown)"));
      break;
    }
    case kMoveSlots:
      log_.ReportOther(
          QStringLiteral("slot move %1 -> %2").arg(ByteAt(message, 1)).arg(ByteAt(message, 2)));
      break;
    default:
      log_.ReportOther(QStringLiteral("message %1").arg(message.toHex(' ').toUpper()));
      break;
  }
}
