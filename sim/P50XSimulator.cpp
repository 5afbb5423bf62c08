#include "P50XSimulator.h"

#include <chrono>
#include <thread>

namespace {

constexpr unsigned char kProbe = 0xC4;
constexpr unsigned char kPrefix = 'x';
constexpr unsigned char kTurnout = 0x90;
constexpr unsigned char kEventQuery = 0xC8;
constexpr unsigned char kPowerOff = 0xA6;
constexpr unsigned char kPowerOn = 0xA7;
constexpr unsigned char kTurnoutOutputOn = 0x40;
constexpr unsigned char kPowerOffEvent = 0x08;
constexpr unsigned char kTheTrackHasNoPower = 0xA6;
const QByteArray kPrompt = QByteArrayLiteral("\r]");

QByteArray Bytes(std::initializer_list<unsigned char> values) {
  QByteArray bytes;
  for (unsigned char v : values) bytes.append(static_cast<char>(v));
  return bytes;
}

}  // namespace

P50XSimulator::P50XSimulator() : P50XSimulator(ReaderStart::Deferred) {
  StartReader();
}

P50XSimulator::P50XSimulator(ReaderStart)
    : PtyPeer(ReaderStart::Deferred),
      probeAnswer_(Bytes({0x00, 0x00})),
      promptReply_(kPrompt),
      modeReply_("ZzA0" + kPrompt) {
  replies_[kTurnout] = Bytes({0x00});
  replies_[0x99] = Bytes({0x00});
  // SPU 1.502, KPU 1.200, PPU 1.2, LIPU 1.0, DNC 1.3, serial 0012345678, and the closing byte.
  replies_[0xA0] = Bytes({0x02, 0x02, 0x15, 0x02, 0x00, 0x12, 0x01, 0x12, 0x01, 0x10, 0x01, 0x13,
                          0x05, 0x00, 0x12, 0x34, 0x56, 0x78, 0x00});
  replies_[0xA2] = Bytes({0x00});
  replies_[0xA6] = Bytes({0x00});
  replies_[0xA7] = Bytes({0x00});
  replies_[kEventQuery] = Bytes({0x00});
  replies_[0xC9] = Bytes({0x80});
  replies_[0xCA] = Bytes({0x00});
  replies_[0xCB] = Bytes({0x00});
  replies_[0xCC] = Bytes({0x00});
  replies_[0xCE] = Bytes({0xF5});
}

P50XSimulator::~P50XSimulator() {
  StopReader();
}

void P50XSimulator::SetBaudRate(int rate) {
  std::lock_guard lock(mutex_);
  rate_ = rate;
}

int P50XSimulator::BaudRate() const {
  std::lock_guard lock(mutex_);
  return rate_;
}

void P50XSimulator::SetProbeAnswer(const QByteArray& answer) {
  std::lock_guard lock(mutex_);
  probeAnswer_ = answer;
}

void P50XSimulator::SetProbeAnswerLimit(int probes) {
  std::lock_guard lock(mutex_);
  probeAnswersLeft_ = probes;
}

void P50XSimulator::SetOptions(int so1, int so26) {
  std::lock_guard lock(mutex_);
  so1_ = so1;
  so26_ = so26;
}

void P50XSimulator::SetPromptReply(const QByteArray& reply) {
  std::lock_guard lock(mutex_);
  promptReply_ = reply;
}

void P50XSimulator::SetModeReply(const QByteArray& reply) {
  std::lock_guard lock(mutex_);
  modeReply_ = reply;
}

void P50XSimulator::SetTextReply(const QByteArray& line, const QByteArray& reply) {
  std::lock_guard lock(mutex_);
  textReplies_[line] = reply;
}

void P50XSimulator::SetReply(unsigned char command, const QByteArray& reply) {
  std::lock_guard lock(mutex_);
  replies_[command] = reply;
}

void P50XSimulator::QueueReply(unsigned char command, const QByteArray& reply) {
  std::lock_guard lock(mutex_);
  queuedReplies_[command].push_back(reply);
}

void P50XSimulator::CutTrackPower() {
  std::lock_guard lock(mutex_);
  CutTrackPowerLocked();
}

void P50XSimulator::CutTrackPowerAfterAccessoryCommands(int n) {
  std::lock_guard lock(mutex_);
  accessoryCommandsBeforePowerCut_ = n;
}

// Runs with mutex_ held.
void P50XSimulator::CutTrackPowerLocked() {
  trackPowered_ = false;
  accessoryCommandsBeforePowerCut_ = -1;
  queuedReplies_[kEventQuery].push_back(Bytes({kPowerOffEvent}));
}

// Runs with mutex_ held. arguments: the turnout command's two bytes after 0x90.
QByteArray P50XSimulator::AnswerTurnout(const QByteArray& arguments) {
  if (!trackPowered_) return Bytes({kTheTrackHasNoPower});
  const QByteArray reply = AnswerBinary(kTurnout);
  const bool commandEnds = !(static_cast<unsigned char>(arguments[1]) & kTurnoutOutputOn);
  if (commandEnds && accessoryCommandsBeforePowerCut_ > 0 &&
      --accessoryCommandsBeforePowerCut_ == 0)
    CutTrackPowerLocked();
  return reply;
}

void P50XSimulator::ReportPowerOff() {
  ReportEventFlags(Bytes({0x08}));
}

void P50XSimulator::ReportEventFlags(const QByteArray& eventReply) {
  QueueReply(kEventQuery, eventReply);
}

void P50XSimulator::ReportFeedback(const QByteArray& records) {
  std::lock_guard lock(mutex_);
  queuedReplies_[kEventQuery].push_back(Bytes({0x04}));
  queuedReplies_[0xCB].push_back(records + Bytes({0x00}));
}

void P50XSimulator::ReportProgrammingResult(const QByteArray& reply) {
  std::lock_guard lock(mutex_);
  queuedReplies_[kEventQuery].push_back(Bytes({0x80, 0x80, 0x01}));
  queuedReplies_[0xCE].push_back(reply);
}

void P50XSimulator::ReportLocomotiveEvents(const QByteArray& records) {
  std::lock_guard lock(mutex_);
  queuedReplies_[kEventQuery].push_back(Bytes({0x01}));
  queuedReplies_[0xC9].push_back(records + Bytes({0x80}));
}

void P50XSimulator::SetSilent(bool silent) {
  std::lock_guard lock(mutex_);
  silent_ = silent;
}

void P50XSimulator::SetReplyDelay(int milliseconds) {
  std::lock_guard lock(mutex_);
  replyDelayMs_ = milliseconds;
}

int P50XSimulator::EventQueries() const {
  std::lock_guard lock(mutex_);
  return eventQueries_;
}

// Runs with mutex_ held.
QByteArray P50XSimulator::AnswerBinary(unsigned char command) {
  if (command == kEventQuery) ++eventQueries_;
  if (command == kPowerOn) trackPowered_ = true;
  if (command == kPowerOff) trackPowered_ = false;
  auto queued = queuedReplies_.find(command);
  if (queued != queuedReplies_.end() && !queued->second.empty()) {
    QByteArray reply = queued->second.front();
    queued->second.pop_front();
    return reply;
  }
  auto standing = replies_.find(command);
  return standing != replies_.end() ? standing->second : QByteArray();
}

// Runs with mutex_ held.
QByteArray P50XSimulator::AnswerText(const QByteArray& line) {
  if (auto own = textReplies_.find(line); own != textReplies_.end()) return own->second;
  if (line.isEmpty()) return promptReply_;
  if (line == "So1") return QByteArray::number(so1_) + kPrompt;
  if (line == "So26") return QByteArray::number(so26_) + kPrompt;
  if (line == "ZzA0") return modeReply_;
  if (line == "b") return "Baudrate " + QByteArray::number(rate_) + kPrompt;
  if (line.startsWith('b')) {
    bool isNumber = false;
    const int rate = line.mid(1).toInt(&isNumber);
    if (!isNumber) return "Error" + kPrompt;
    // A command station that returns to its default on every long break ignores the command.
    if (so26_ != 0) return "Baudrate " + QByteArray::number(rate_) + kPrompt;
    rate_ = rate;
    return "Baudrate " + QByteArray::number(rate) + kPrompt;
  }
  if (line == "RT255" || line == "SE62") return "Ok" + kPrompt;
  return "Error" + kPrompt;
}

bool P50XSimulator::HeardAt(int slaveRate, bool twoStopBits) const {
  std::lock_guard lock(mutex_);
  return slaveRate == rate_ && twoStopBits;
}

bool P50XSimulator::SlaveTwoStopBits() const {
  return (SlaveSettings().c_cflag & CSTOPB) != 0;
}

void P50XSimulator::OnReceived(const QByteArray& bytes) {
  const int slaveRate = SlaveBaudRate();
  const bool twoStopBits = SlaveTwoStopBits();
  QByteArray answer;
  int delayMs = 0;
  {
    std::lock_guard lock(mutex_);
    // Bytes sent at another rate or with one stop bit reach the station as garbage: it takes
    // nothing from them, and a command they interrupt is lost.
    if (slaveRate != rate_ || !twoStopBits) {
      state_ = State::Idle;
      pending_.clear();
      return;
    }
    for (char c : bytes) {
      const auto byte = static_cast<unsigned char>(c);
      switch (state_) {
        case State::Idle:
          if (byte == kPrefix) {
            state_ = State::AfterPrefix;
          } else if (byte == kProbe && probeAnswersLeft_ != 0) {
            answer += probeAnswer_;
            if (probeAnswersLeft_ > 0) --probeAnswersLeft_;
          }
          // The go byte "`" and anything else without prefix pass unanswered.
          break;
        case State::AfterPrefix:
          if (byte == kTurnout) {
            pending_.clear();
            state_ = State::TurnoutArguments;
          } else if (byte >= 0x80) {
            answer += AnswerBinary(byte);
            state_ = State::Idle;
          } else if (byte == '\r') {
            answer += AnswerText({});
            state_ = State::Idle;
          } else {
            pending_ = QByteArray(1, c);
            state_ = State::TextLine;
          }
          break;
        case State::TextLine:
          if (byte == '\r') {
            answer += AnswerText(pending_);
            state_ = State::Idle;
          } else {
            pending_.append(c);
          }
          break;
        case State::TurnoutArguments:
          pending_.append(c);
          if (pending_.size() == 2) {
            answer += AnswerTurnout(pending_);
            state_ = State::Idle;
          }
          break;
      }
    }
    if (silent_) return;
    delayMs = replyDelayMs_;
  }
  if (answer.isEmpty()) return;
  if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
  Send(answer);
}
