#include "serial/MemoryDevice.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

// --- MemoryLine -----------------------------------------------------------------------------

MemoryLine::MemoryLine() = default;
MemoryLine::~MemoryLine() = default;

void MemoryLine::Receive(const QByteArray& bytes) {
  std::lock_guard lock(mutex_);
  ReceiveLocked(bytes);
}

void MemoryLine::ReceiveLocked(const QByteArray& bytes) {
  if (!open_) return;
  const int before = static_cast<int>(input_.size());
  SerialEvents arrived;
  for (const char c : bytes) {
    if (c == 0 && settings_.discardNull) continue;
    if (inputSize_ > 0 && input_.size() >= inputSize_) {
      errors_.Include(ceRxOver);
      arrived.Include(evError);
      continue;
    }
    input_.append(c);
    arrived.Include(evRxChar);
    if (static_cast<unsigned char>(c) == settings_.eventChar) arrived.Include(evRxFlag);
  }
  const int mark = inputSize_ * 8 / 10;
  if (inputSize_ > 0 && before < mark && input_.size() >= mark) arrived.Include(evRx80Full);
  RaiseLocked(arrived);
  received_.notify_all();
}

QByteArray MemoryLine::Written() const {
  std::lock_guard lock(mutex_);
  return written_;
}

QByteArray MemoryLine::TakeWritten() {
  std::lock_guard lock(mutex_);
  return std::exchange(written_, {});
}

void MemoryLine::AnswerWrites(const std::vector<QByteArray>& replies) {
  std::lock_guard lock(mutex_);
  answers_.insert(answers_.end(), replies.begin(), replies.end());
}

void MemoryLine::SendLocked(const QByteArray& bytes) {
  written_.append(bytes);
  RaiseLocked({evTxEmpty});
  if (answers_.empty()) return;
  const QByteArray answer = answers_.front();
  answers_.pop_front();
  ReceiveLocked(answer);
}

bool MemoryLine::SendingHeldLocked() const {
  return settings_.outCTSFlow && !lines_.Contains(csCTS);
}

void MemoryLine::SetSignal(LineSignal signal, bool on) {
  std::lock_guard lock(mutex_);
  const bool was = lines_.Contains(signal);
  on ? lines_.Include(signal) : lines_.Exclude(signal);
  if (was == on) return;
  if (signal == csCTS && !SendingHeldLocked() && !output_.isEmpty())
    SendLocked(std::exchange(output_, {}));
  switch (signal) {
    case csCTS:
      RaiseLocked({evCTS});
      break;
    case csDSR:
      RaiseLocked({evDSR});
      break;
    case csRLSD:
      RaiseLocked({evRLSD});
      break;
    case csRing:
      if (on) RaiseLocked({evRing});
      break;
  }
}

void MemoryLine::RaiseErrors(LineErrors errors) {
  std::lock_guard lock(mutex_);
  errors_ = LineErrors::FromBits(errors_.Bits() | errors.Bits());
  SerialEvents events;
  if (errors.Contains(ceBreak)) events.Include(evBreak);
  if (!LineErrors::FromBits(errors.Bits() & ~LineErrors{ceBreak}.Bits()).Empty()) {
    events.Include(evError);
  }
  RaiseLocked(events);
}

void MemoryLine::RaiseEvents(SerialEvents events) {
  std::lock_guard lock(mutex_);
  RaiseLocked(events);
}

void MemoryLine::Fail(Op op, int error) {
  std::lock_guard lock(mutex_);
  failures_[static_cast<int>(op)] = error;
  wake_.Signal();
  received_.notify_all();
}

bool MemoryLine::IsOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

QString MemoryLine::OpenedName() const {
  std::lock_guard lock(mutex_);
  return name_;
}

int MemoryLine::OpenCount() const {
  std::lock_guard lock(mutex_);
  return openCount_;
}

int MemoryLine::InputQueueSize() const {
  std::lock_guard lock(mutex_);
  return inputSize_;
}

int MemoryLine::OutputQueueSize() const {
  std::lock_guard lock(mutex_);
  return outputSize_;
}

SerialLineSettings MemoryLine::LineSettings() const {
  std::lock_guard lock(mutex_);
  return settings_;
}

int MemoryLine::LineSettingsCount() const {
  std::lock_guard lock(mutex_);
  return settingsCount_;
}

SerialTimeouts MemoryLine::Timeouts() const {
  std::lock_guard lock(mutex_);
  return timeouts_;
}

bool MemoryLine::BreakOn() const {
  std::lock_guard lock(mutex_);
  return breakOn_;
}

std::vector<int> MemoryLine::Purges() const {
  std::lock_guard lock(mutex_);
  return purges_;
}

SerialEvents MemoryLine::EventMask() const {
  std::lock_guard lock(mutex_);
  return mask_;
}

int MemoryLine::InputCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(input_.size());
}

int MemoryLine::OutputCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(output_.size());
}

int MemoryLine::Deliveries() const {
  std::lock_guard lock(mutex_);
  return deliveries_;
}

int MemoryLine::FailureLocked(Op op) const {
  return failures_[static_cast<int>(op)];
}

void MemoryLine::RaiseLocked(SerialEvents events) {
  const SerialEvents masked = SerialEvents::FromBits(events.Bits() & mask_.Bits());
  if (masked.Empty()) return;
  pending_ = SerialEvents::FromBits(pending_.Bits() | masked.Bits());
  wake_.Signal();
}

// --- MemoryDevice ---------------------------------------------------------------------------

MemoryDevice::MemoryDevice(std::shared_ptr<MemoryLine> line) : line_(std::move(line)) {}

MemoryDevice::~MemoryDevice() {
  Close();
}

int MemoryDevice::Refusal(MemoryLine::Op op) const {
  if (!open_) return EBADF;
  return line_->FailureLocked(op);
}

int MemoryDevice::Open(const QString& name) {
  std::lock_guard lock(line_->mutex_);
  if (open_ || line_->open_) return EBUSY;
  if (const int error = line_->FailureLocked(MemoryLine::Op::kOpen)) return error;
  open_ = line_->open_ = true;
  line_->name_ = name;
  ++line_->openCount_;
  line_->input_.clear();
  line_->output_.clear();
  line_->errors_ = {};
  line_->mask_ = {};
  line_->pending_ = {};
  line_->breakOn_ = false;
  line_->wake_.Drain();
  return 0;
}

void MemoryDevice::Close() {
  std::lock_guard lock(line_->mutex_);
  if (!open_) return;
  open_ = line_->open_ = false;
  line_->mask_ = {};
  line_->pending_ = {};
  line_->breakOn_ = false;
}

bool MemoryDevice::IsOpen() const {
  return open_;
}

int MemoryDevice::SetQueueSizes(int inputSize, int outputSize) {
  std::lock_guard lock(line_->mutex_);
  if (const int error = Refusal(MemoryLine::Op::kSetQueueSizes)) return error;
  if (inputSize < 0 || outputSize < 0) return EINVAL;
  line_->inputSize_ = inputSize;
  line_->outputSize_ = outputSize;
  return 0;
}

int MemoryDevice::SetLineSettings(const SerialLineSettings& settings) {
  std::lock_guard lock(line_->mutex_);
  if (const int error = Refusal(MemoryLine::Op::kSetLineSettings)) return error;
  if (settings.baudRate <= 0) return EINVAL;
  line_->settings_ = settings;
  ++line_->settingsCount_;
  if (!line_->SendingHeldLocked() && !line_->output_.isEmpty())
    line_->SendLocked(std::exchange(line_->output_, {}));
  return 0;
}

int MemoryDevice::SetTimeouts(const SerialTimeouts& timeouts) {
  std::lock_guard lock(line_->mutex_);
  if (const int error = Refusal(MemoryLine::Op::kSetTimeouts)) return error;
  line_->timeouts_ = timeouts;
  return 0;
}

int MemoryDevice::Write(const char* data, int count, int& written) {
  written = 0;
  std::lock_guard lock(line_->mutex_);
  if (const int error = Refusal(MemoryLine::Op::kWrite)) return error;
  // The driver takes every byte at once, and so does the wire, unless CTS flow control holds
  // them back: then they wait in the output queue until CTS comes on.
  written = count;
  if (line_->SendingHeldLocked())
    line_->output_.append(data, count);
  else
    line_->SendLocked(QByteArray(data, count));
  return 0;
}

int MemoryDevice::Read(char* data, int count, int& read) {
  read = 0;
  std::unique_lock lock(line_->mutex_);
  if (const int error = Refusal(MemoryLine::Op::kRead)) return error;
  const SerialTimeouts timeouts = line_->timeouts_;
  auto take = [this](char* buffer, int max) {
    if (const int error = Refusal(MemoryLine::Op::kRead)) return -error;
    const int n = std::min(max, static_cast<int>(line_->input_.size()));
    std::copy_n(line_->input_.constData(), n, buffer);
    line_->input_.remove(0, n);
    return n;
  };
  auto wait = [&](std::optional<SerialClock::time_point> deadline) {
    if (deadline) {
      line_->received_.wait_until(lock, *deadline);
    } else {
      line_->received_.wait(lock);
    }
  };
  return ReadUnderTimeouts(timeouts, data, count, read, take, wait);
}

int MemoryDevice::ClearErrors(LineErrors& errors, int& inputCount) {
  errors = {};
  inputCount = 0;
  std::lock_guard lock(line_->mutex_);
  if (const int error = Refusal(MemoryLine::Op::kClearErrors)) return error;
  errors = std::exchange(line_->errors_, {});
  inputCount = static_cast<int>(line_->input_.size());
  return 0;
}

int MemoryDevice::OutputCount(int& count) {
  count = 0;
  std::lock_guard lock(line_->mutex_);
  // The count comes with the line status, as the input count does: it fails where that does.
  if (const int error = Refusal(MemoryLine::Op::kClearErrors)) return error;
  count = static_cast<int>(line_->output_.size());
  return 0;
}

int MemoryDevice::ModemStatus(LineSignals& lines) {
  lines = {};
  std::lock_guard lock(line_->mutex_);
  if (const int error = Refusal(MemoryLine::Op::kModemStatus)) return error;
  lines = line_->lines_;
  return 0;
}

int MemoryDevice::SetBreak(bool on) {
  std::lock_guard lock(line_->mutex_);
  if (const int error = Refusal(MemoryLine::Op::kSetBreak)) return error;
  line_->breakOn_ = on;
  return 0;
}

int MemoryDevice::Purge(int flags) {
  std::lock_guard lock(line_->mutex_);
  if (const int error = Refusal(MemoryLine::Op::kPurge)) return error;
  line_->purges_.push_back(flags);
  if (flags & kPurgeRxClear) line_->input_.clear();
  if (flags & kPurgeTxClear) line_->output_.clear();
  return 0;
}

int MemoryDevice::SetEventMask(SerialEvents mask) {
  std::lock_guard lock(line_->mutex_);
  if (const int error = Refusal(MemoryLine::Op::kSetEventMask)) return error;
  line_->mask_ = mask;
  line_->pending_ = {};
  line_->wake_.Signal();
  return 0;
}

int MemoryDevice::WaitEvent(const StopSignal& stop, SerialEvents& events) {
  events = {};
  for (;;) {
    {
      std::lock_guard lock(line_->mutex_);
      if (const int error = Refusal(MemoryLine::Op::kWaitEvent)) return error;
      if (!line_->pending_.Empty()) {
        events = std::exchange(line_->pending_, {});
        ++line_->deliveries_;
        return 0;
      }
    }
    pollfd fds[2] = {{stop.Fd(), POLLIN, 0}, {line_->wake_.Fd(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0 && errno != EINTR) return errno;
    if (fds[0].revents) return 0;
    if (fds[1].revents) line_->wake_.Drain();
  }
}
