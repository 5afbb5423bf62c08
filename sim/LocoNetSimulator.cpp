#include "LocoNetSimulator.h"

#include "loconet/LocoNetMessage.h"
#include "loconet/LocoNetReceiver.h"

namespace {

constexpr unsigned char kGlobalPowerOff = 0x82;
constexpr unsigned char kGlobalPowerOn = 0x83;
constexpr unsigned char kSwitchRequest = 0xB0;
constexpr unsigned char kMoveSlots = 0xBA;
constexpr unsigned char kPeerTransfer = 0xE5;
constexpr unsigned char kSlotData = 0xE7;
constexpr int kSlotDataLength = 0x0E;

// The framing and the check of the program's own receive path: the net carries what the
// program would accept from it.
std::vector<QByteArray> FrameMessages(QByteArray& pendingHex) {
  std::vector<QByteArray> messages;
  for (;;) {
    const qsizetype before = pendingHex.size();
    LocoNetParse parse = ParseLocoNetBuffer(std::move(pendingHex));
    pendingHex = std::move(parse.rest);
    for (const LocoNetAction& action : parse.actions)
      if (action.kind == LocoNetAction::Kind::LogLine)
        messages.push_back(QByteArray::fromHex(action.bytes));
    // A call stops after dropping a byte that starts no message; what follows is framed anew.
    if (pendingHex.size() == before || pendingHex.isEmpty()) return messages;
  }
}

int ByteAt(const QByteArray& message, int index) {
  return static_cast<unsigned char>(message[index]);
}

}  // namespace

LocoNetSimulator::LocoNetSimulator() : PtyPeer(ReaderStart::Deferred) {
  StartReader();
}

LocoNetSimulator::~LocoNetSimulator() {
  StopReader();
}

void LocoNetSimulator::SendMessage(const QByteArray& bytesWithoutCheck) {
  Send(LocoNetMessage(bytesWithoutCheck));
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

void LocoNetSimulator::OnReceived(const QByteArray& bytes) {
  std::vector<QByteArray> messages;
  {
    std::lock_guard lock(mutex_);
    pendingHex_.append(bytes.toHex().toUpper());
    messages = FrameMessages(pendingHex_);
    messagesHeard_.insert(messagesHeard_.end(), messages.begin(), messages.end());
  }
  for (const QByteArray& message : messages) {
    Report(message);
    Send(message);
  }
}

void LocoNetSimulator::Report(const QByteArray& message) {
  switch (ByteAt(message, 0)) {
    case kGlobalPowerOn:
      log_.ReportPower(true, QStringLiteral("(global power on)"));
      break;
    case kGlobalPowerOff:
      log_.ReportPower(false, QStringLiteral("(global power off)"));
      break;
    case kSwitchRequest: {
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
