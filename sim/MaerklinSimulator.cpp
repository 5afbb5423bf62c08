#include "MaerklinSimulator.h"

namespace {

constexpr unsigned char kSolenoidsOff = 0x20;
constexpr unsigned char kTurnoutRed = 0x21;
constexpr unsigned char kTurnoutGreen = 0x22;
constexpr unsigned char kGo = 0x60;
constexpr unsigned char kStop = 0x61;

unsigned char ByteAt(const QByteArray& bytes, qsizetype index) {
  return static_cast<unsigned char>(bytes[index]);
}

qsizetype MaerklinCommandLength(const QByteArray& pending) {
  const unsigned char command = ByteAt(pending, 0);
  return command == kTurnoutGreen || command == kTurnoutRed ? 2 : 1;
}

}  // namespace

MaerklinSimulator::MaerklinSimulator()
    : PtyPeer(ReaderStart::Deferred), splitter_(MaerklinCommandLength) {
  StartReader();
}

MaerklinSimulator::~MaerklinSimulator() {
  StopReader();
}

std::vector<QByteArray> MaerklinSimulator::CommandsHeard() const {
  std::lock_guard lock(mutex_);
  return commandsHeard_;
}

void MaerklinSimulator::OnReceived(const QByteArray& bytes) {
  std::vector<QByteArray> commands;
  {
    std::lock_guard lock(mutex_);
    commands = splitter_.Take(bytes);
    commandsHeard_.insert(commandsHeard_.end(), commands.begin(), commands.end());
  }
  for (const QByteArray& command : commands) Report(command);
}

void MaerklinSimulator::Report(const QByteArray& command) {
  switch (ByteAt(command, 0)) {
    case kGo:
      log_.ReportPower(true, QStringLiteral("(go)"));
      break;
    case kStop:
      log_.ReportPower(false, QStringLiteral("(stop)"));
      break;
    case kTurnoutGreen:
      log_.ReportTurnout(ByteAt(command, 1), true, QStringLiteral("(green)"));
      break;
    case kTurnoutRed:
      log_.ReportTurnout(ByteAt(command, 1), true, QStringLiteral("(red)"));
      break;
    case kSolenoidsOff:
      log_.ReportOther(QStringLiteral("solenoids off"));
      break;
    default:
      log_.ReportOther(QStringLiteral("byte %1, not known").arg(command.toHex().toUpper()));
      break;
  }
}
