#include "ReportingP50XSimulator.h"

namespace {

constexpr char kPrefix = 'x';
constexpr unsigned char kProbe = 0xC4;
constexpr unsigned char kTurnout = 0x90;
constexpr unsigned char kVersionQuery = 0xA0;
constexpr unsigned char kPowerOff = 0xA6;
constexpr unsigned char kPowerOn = 0xA7;
constexpr unsigned char kSensorsOff = 0x99;
constexpr unsigned char kEventQuery = 0xC8;
// Polls between two commands are shown as a count once they span about a second.
constexpr int kPollsWorthACount = 10;
// A text command is a handful of characters; a longer run without CR is cut off as it stands.
constexpr qsizetype kLongestTextCommand = 64;

unsigned char ByteAt(const QByteArray& bytes, qsizetype index) {
  return static_cast<unsigned char>(bytes[index]);
}

// "x" and a binary command byte (the turnout command with its two argument bytes), "x" and a
// text line up to CR, or a byte sent without prefix (the probe, the go byte of detection).
qsizetype P50XCommandLength(const QByteArray& pending) {
  if (pending[0] != kPrefix) return 1;
  if (pending.size() < 2) return 0;
  const unsigned char command = ByteAt(pending, 1);
  if (command == kTurnout) return 4;
  if (command >= 0x80) return 2;
  const qsizetype lineEnd = pending.indexOf('\r', 1);
  if (lineEnd >= 0) return lineEnd + 1;
  return pending.size() > kLongestTextCommand ? pending.size() : 0;
}

QString Printable(const QByteArray& text) {
  QString shown;
  for (char c : text) {
    if (c == '\r')
      shown += QStringLiteral("\\r");
    else if (c >= 0x20 && c < 0x7F)
      shown += QLatin1Char(c);
    else
      shown += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(c), 2, 16, QLatin1Char('0'));
  }
  return shown;
}

}  // namespace

ReportingP50XSimulator::ReportingP50XSimulator()
    : P50XSimulator(ReaderStart::Deferred), splitter_(P50XCommandLength) {
  StartReader();
}

ReportingP50XSimulator::~ReportingP50XSimulator() {
  StopReader();
}

void ReportingP50XSimulator::OnReceived(const QByteArray& bytes) {
  const int slaveBaudRate = SlaveBaudRate();
  const bool twoStopBits = SlaveTwoStopBits();
  // Judged before the station answers: a baud command changes the rate it listens at.
  const bool heard = HeardAt(slaveBaudRate, twoStopBits);
  P50XSimulator::OnReceived(bytes);
  std::lock_guard lock(mutex_);
  for (const QByteArray& command : splitter_.Take(bytes)) {
    if (heard || ByteAt(command, 0) == kProbe)
      Report(command, slaveBaudRate);
    else
      log_.ReportOther(QStringLiteral("not understood, sent at %1 baud with %2 stop bit(s): \"%3\"")
                           .arg(slaveBaudRate)
                           .arg(twoStopBits ? 2 : 1)
                           .arg(Printable(command)));
  }
}

// Runs with mutex_ held.
void ReportingP50XSimulator::Report(const QByteArray& command, int slaveBaudRate) {
  if (command.size() == 2 && command[0] == kPrefix && ByteAt(command, 1) == kEventQuery) {
    if (!pollingSeen_)
      log_.ReportOther(QStringLiteral("event polling (x C8) started; polls are shown as counts"));
    pollingSeen_ = true;
    ++pollsSinceLastCommand_;
    return;
  }
  if (pollsSinceLastCommand_ >= kPollsWorthACount)
    log_.ReportOther(QStringLiteral("%1 event polls").arg(pollsSinceLastCommand_));
  pollsSinceLastCommand_ = 0;

  if (command[0] != kPrefix) {
    if (ByteAt(command, 0) == kProbe)
      log_.ReportOther(QStringLiteral("baud rate probe (C4) at %1 baud").arg(slaveBaudRate));
    else
      log_.ReportOther(QStringLiteral("byte \"%1\"").arg(Printable(command)));
    return;
  }
  if (ByteAt(command, 1) < 0x80) {
    log_.ReportOther(QStringLiteral("text command \"%1\"").arg(Printable(command)));
    return;
  }
  switch (ByteAt(command, 1)) {
    case kPowerOn:
      log_.ReportPower(true, QStringLiteral("(x A7)"));
      break;
    case kPowerOff:
      log_.ReportPower(false, QStringLiteral("(x A6)"));
      break;
    case kTurnout: {
      // Second argument byte: bits 0-2 the high address bits, 0x40 switches the output on.
      const int high = ByteAt(command, 3);
      log_.ReportTurnout(ByteAt(command, 2) + 256 * (high & 7), (high & 0x40) != 0);
      break;
    }
    case kVersionQuery:
      log_.ReportOther(QStringLiteral("version query (x A0)"));
      break;
    case kSensorsOff:
      log_.ReportOther(QStringLiteral("sensor reports off (x 99)"));
      break;
    default:
      log_.ReportOther(QStringLiteral("command x %1").arg(command.sliced(1).toHex().toUpper()));
      break;
  }
}
