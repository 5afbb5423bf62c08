// How the Windows serial semantics sit on termios:
//
// * Input goes through a queue of our own (at most Buffer.InputSize bytes) before the port
//   reads it. Windows reports evRxChar once per arrival, while poll() keeps saying "readable"
//   for as long as unread bytes remain; taking the bytes out of the kernel as they come makes
//   each arrival one event, lets the event character and the 80 % mark be seen, and lets
//   DiscardNull drop NULs. When the queue is full the rest waits in the kernel, whose flow
//   control then throttles the sender.
// * The event thread blocks in poll() on the tty, its stop signal and a wake-up eventfd. Only
//   two things poll with a timeout: a write waiting for its evTxEmpty (TIOCOUTQ, at
//   character-time steps, only until the output has drained), and the line-signal and
//   line-error events, which the kernel cannot signal through poll(): their counters
//   (TIOCGICOUNT, or the modem lines where the driver keeps no counters) are read every 50 ms,
//   and only while such events are in the mask and the device has lines at all. A pty has
//   none, so there the thread sleeps until a byte arrives or the port closes.
// * A write completes when the kernel has taken every byte. Windows completes it once the bytes
//   are out, so nothing of it is left for a purge or a close to drop; to keep that, Close never
//   discards queued output and line settings wait (bounded) for the output to drain first.
// * After a hang-up (adapter unplugged, pty master closed) poll() reports POLLHUP for ever;
//   the thread stops watching the tty and waits for its stop signal, and reads and writes
//   fail with the kernel's error.
#include "serial/TermiosDevice.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "serial/TermiosLine.h"

namespace {

constexpr int kLineWatchMs = 50;
constexpr int kDrainLimitMs = 1000;
constexpr SerialEvents kInputEvents{evRxChar, evRxFlag, evRx80Full};
constexpr SerialEvents kLineEvents{evCTS, evDSR, evRLSD, evRing, evBreak, evError};

bool NoModemLines(int error) {
  return error == ENOTTY || error == EINVAL;
}

bool HungUp(int error) {
  return error == EIO || error == ENXIO || error == ENODEV;
}

bool ReadCounters(int fd, TermiosDevice::LineCounters& counters) {
  serial_icounter_struct ic{};
  if (::ioctl(fd, TIOCGICOUNT, &ic) != 0) return false;
  counters = {ic.cts,   ic.dsr,     ic.rng,    ic.dcd,        ic.brk,
              ic.frame, ic.overrun, ic.parity, ic.buf_overrun};
  return true;
}

int Remaining(std::optional<SerialClock::time_point> deadline) {
  if (!deadline) return -1;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - SerialClock::now());
  return static_cast<int>(std::clamp<long long>(left.count(), 0, 1 << 30));
}

}  // namespace

TermiosDevice::TermiosDevice() = default;

TermiosDevice::~TermiosDevice() {
  Close();
}

int TermiosDevice::Open(const QString& name) {
  if (fd_ >= 0) return EBUSY;
  if (wake_.Fd() < 0 || rx_.Fd() < 0) return EMFILE;
  // Only a path names a device here; "COM1" and the like name nothing.
  if (!name.contains(u'/')) return ENOENT;
  const int fd = ::open(name.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno;
  auto fail = [fd](int error) {
    ::close(fd);
    return error;
  };
  if (!::isatty(fd)) return fail(ENOTTY);
  // TIOCEXCL keeps other users out, but not root; the lock keeps out every other Sorvell.
  if (::ioctl(fd, TIOCEXCL) != 0) return fail(errno);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    // "Resource temporarily unavailable" would tell the user nothing; the port is busy.
    return fail(errno == EWOULDBLOCK ? EBUSY : errno);
  }
  if (const int error = MakeTermiosRaw(fd)) return fail(error);

  int lines = 0;
  hasModemLines_ = ::ioctl(fd, TIOCMGET, &lines) == 0;
  LineCounters counters;
  hasCounters_ = hasModemLines_ && ReadCounters(fd, counters);
  wake_.Drain();
  rx_.Drain();

  std::lock_guard lock(mutex_);
  fd_ = fd;
  name_ = name;
  input_.clear();
  mask_ = {};
  pending_ = {};
  txPending_ = false;
  hungUp_ = false;
  linesReadable_ = hasModemLines_;
  lastModemLines_ = lines;
  eventCounters_ = errorCounters_ = counters;
  return 0;
}

void TermiosDevice::Close() {
  if (fd_ < 0) return;
  WaitForOutputDrained(kDrainLimitMs);
  int queued = 0;
  // Output still queued now is held back by flow control; the kernel would keep close()
  // waiting for it for half a minute.
  if (::ioctl(fd_, TIOCOUTQ, &queued) == 0 && queued > 0) ::tcflush(fd_, TCOFLUSH);
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  std::lock_guard lock(mutex_);
  fd_ = -1;
  input_.clear();
}

int TermiosDevice::SetQueueSizes(int inputSize, int outputSize) {
  if (fd_ < 0) return EBADF;
  if (inputSize < 0 || outputSize < 0) return EINVAL;
  // The kernel's own queues have fixed sizes; the input size bounds our queue.
  std::lock_guard lock(mutex_);
  inputCap_ = inputSize > 0 ? inputSize : 4096;
  wake_.Signal();
  return 0;
}

int TermiosDevice::SetLineSettings(const SerialLineSettings& settings) {
  if (fd_ < 0) return EBADF;
  WaitForOutputDrained(kDrainLimitMs);
  if (const int error = ApplyTermiosLine(fd_, settings)) return error;
  std::lock_guard lock(mutex_);
  discardNull_ = settings.discardNull;
  eventChar_ = settings.eventChar;
  baudRate_ = settings.baudRate;
  return 0;
}

int TermiosDevice::SetTimeouts(const SerialTimeouts& timeouts) {
  if (fd_ < 0) return EBADF;
  timeouts_ = timeouts;
  return 0;
}

int TermiosDevice::Write(const char* data, int count, int& written) {
  written = 0;
  if (fd_ < 0) return EBADF;
  const auto deadline = WriteDeadline(timeouts_, count, SerialClock::now());
  int error = 0;
  while (written < count) {
    const ssize_t n = ::write(fd_, data + written, static_cast<size_t>(count - written));
    if (n > 0) {
      written += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      error = errno;
      break;
    }
    const int wait = Remaining(deadline);
    if (wait == 0) break;  // the write timeout: return what was taken
    pollfd room{fd_, POLLOUT, 0};
    if (::poll(&room, 1, wait) < 0 && errno != EINTR) {
      error = errno;
      break;
    }
    if (room.revents & (POLLHUP | POLLERR | POLLNVAL) && !(room.revents & POLLOUT)) {
      error = EIO;
      break;
    }
  }
  if (written > 0) {
    std::lock_guard lock(mutex_);
    if (mask_.Contains(evTxEmpty)) {
      txPending_ = true;
      wake_.Signal();
    }
  }
  return error;
}

int TermiosDevice::Read(char* data, int count, int& read) {
  read = 0;
  if (fd_ < 0) return EBADF;
  auto take = [this](char* buffer, int max) {
    std::lock_guard lock(mutex_);
    const bool wasFull = static_cast<int>(input_.size()) >= inputCap_;
    int took = TakeLocked(buffer, max);
    if (took < max) {
      const int error = PullInputLocked(Puller::kCaller);
      took += TakeLocked(buffer + took, max - took);
      if (took == 0 && error) return -error;
    }
    if (wasFull && took > 0) wake_.Signal();
    return took;
  };
  return ReadUnderTimeouts(timeouts_, data, count, read, take,
                           [this](auto deadline) { WaitForReadable(deadline); });
}

void TermiosDevice::WaitForReadable(std::optional<SerialClock::time_point> deadline) {
  pollfd fds[2] = {{fd_, POLLIN, 0}, {rx_.Fd(), POLLIN, 0}};
  if (::poll(fds, 2, Remaining(deadline)) > 0 && fds[1].revents) rx_.Drain();
}

int TermiosDevice::ClearErrors(LineErrors& errors, int& inputCount) {
  errors = {};
  inputCount = 0;
  if (fd_ < 0) return EBADF;
  std::lock_guard lock(mutex_);
  // Taking the bytes in first makes the count right under DiscardNull. A hang-up shows in
  // FIONREAD too; bytes already queued are still counted then.
  PullInputLocked(Puller::kCaller);
  int waiting = 0;
  if (::ioctl(fd_, FIONREAD, &waiting) != 0) {
    if (input_.empty()) return errno;
    waiting = 0;
  }
  inputCount = static_cast<int>(input_.size()) + waiting;

  LineCounters now;
  if (hasCounters_ && ReadCounters(fd_, now)) {
    const LineCounters& was = errorCounters_;
    if (now.frame != was.frame) errors.Include(ceFrame);
    if (now.parity != was.parity) errors.Include(ceRxParity);
    if (now.overrun != was.overrun) errors.Include(ceOverrun);
    if (now.brk != was.brk) errors.Include(ceBreak);
    if (now.bufOverrun != was.bufOverrun) errors.Include(ceRxOver);
    errorCounters_ = now;
  }
  return 0;
}

int TermiosDevice::OutputCount(int& count) {
  count = 0;
  if (fd_ < 0) return EBADF;
  return ::ioctl(fd_, TIOCOUTQ, &count) == 0 ? 0 : errno;
}

int TermiosDevice::ModemStatus(LineSignals& lines) {
  lines = {};
  if (fd_ < 0) return EBADF;
  int bits = 0;
  if (::ioctl(fd_, TIOCMGET, &bits) != 0) return NoModemLines(errno) ? 0 : errno;
  if (bits & TIOCM_CTS) lines.Include(csCTS);
  if (bits & TIOCM_DSR) lines.Include(csDSR);
  if (bits & TIOCM_RNG) lines.Include(csRing);
  if (bits & TIOCM_CAR) lines.Include(csRLSD);
  return 0;
}

int TermiosDevice::SetBreak(bool on) {
  if (fd_ < 0) return EBADF;
  return ::ioctl(fd_, on ? TIOCSBRK : TIOCCBRK) == 0 ? 0 : errno;
}

int TermiosDevice::Purge(int flags) {
  if (fd_ < 0) return EBADF;
  // Transfers here are synchronous, so there is never one pending to abort.
  const bool output = flags & kPurgeTxClear;
  const bool input = flags & kPurgeRxClear;
  if (!output && !input) return 0;
  if (::tcflush(fd_, output && input ? TCIOFLUSH : output ? TCOFLUSH : TCIFLUSH) != 0) {
    return errno;
  }
  if (input) {
    std::lock_guard lock(mutex_);
    input_.clear();
    wake_.Signal();
  }
  return 0;
}

int TermiosDevice::SetEventMask(SerialEvents mask) {
  if (fd_ < 0) return EBADF;
  std::lock_guard lock(mutex_);
  mask_ = mask;
  pending_ = {};
  if (linesReadable_) {
    // Line events count from here on.
    if (hasCounters_) ReadCounters(fd_, eventCounters_);
    ::ioctl(fd_, TIOCMGET, &lastModemLines_);
  }
  wake_.Signal();
  return 0;
}

int TermiosDevice::WaitEvent(const StopSignal& stop, SerialEvents& events) {
  events = {};
  if (fd_ < 0) return EBADF;
  std::unique_lock lock(mutex_);
  for (;;) {
    const SerialEvents ready = SerialEvents::FromBits(pending_.Bits() & mask_.Bits());
    if (!ready.Empty()) {
      events = ready;
      pending_ = {};
      return 0;
    }
    const bool watchInput = !hungUp_ && (mask_.Bits() & kInputEvents.Bits()) != 0 &&
                            static_cast<int>(input_.size()) < inputCap_;
    // After a hang-up the tty stays "ready" for good; it is left out of the poll then.
    pollfd fds[3] = {{stop.Fd(), POLLIN, 0},
                     {wake_.Fd(), POLLIN, 0},
                     {hungUp_ ? -1 : fd_, static_cast<short>(watchInput ? POLLIN : 0), 0}};
    const int timeout = WaitTimeoutLocked();
    lock.unlock();
    if (::poll(fds, 3, timeout) < 0 && errno != EINTR) return errno;
    if (stop.IsSet()) return 0;
    if (fds[1].revents) wake_.Drain();
    lock.lock();

    const short tty = fds[2].revents;
    if (tty & POLLIN || (watchInput && tty & (POLLHUP | POLLERR)))
      PullInputLocked(Puller::kEventThread);
    if (tty & (POLLHUP | POLLERR | POLLNVAL)) hungUp_ = true;
    if (txPending_) CheckTxEmptyLocked();
    if (linesReadable_ && (mask_.Bits() & kLineEvents.Bits())) WatchLinesLocked();
  }
}

int TermiosDevice::WaitTimeoutLocked() const {
  int timeout = -1;
  if (linesReadable_ && !hungUp_ && (mask_.Bits() & kLineEvents.Bits())) timeout = kLineWatchMs;
  if (txPending_) {
    const int charMs = std::max(1, CharTimeUs() / 1000);
    timeout = timeout < 0 ? std::min(charMs, kLineWatchMs) : std::min(timeout, charMs);
  }
  return timeout;
}

void TermiosDevice::CheckTxEmptyLocked() {
  int queued = 0;
  if (hungUp_ || ::ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued == 0) {
    txPending_ = false;
    if (!hungUp_) RaiseLocked({evTxEmpty});
  }
}

void TermiosDevice::WatchLinesLocked() {
  if (hungUp_) {
    linesReadable_ = false;
    return;
  }
  SerialEvents seen;
  if (hasCounters_) {
    LineCounters now;
    if (!ReadCounters(fd_, now)) {
      linesReadable_ = false;
      return;
    }
    const LineCounters& was = eventCounters_;
    if (now.cts != was.cts) seen.Include(evCTS);
    if (now.dsr != was.dsr) seen.Include(evDSR);
    if (now.dcd != was.dcd) seen.Include(evRLSD);
    if (now.rng != was.rng) seen.Include(evRing);
    if (now.brk != was.brk) seen.Include(evBreak);
    if (now.frame != was.frame || now.overrun != was.overrun || now.parity != was.parity ||
        now.bufOverrun != was.bufOverrun) {
      seen.Include(evError);
    }
    eventCounters_ = now;
  } else {
    // No counters: compare the lines themselves (a short pulse between two looks is missed).
    int lines = 0;
    if (::ioctl(fd_, TIOCMGET, &lines) != 0) {
      linesReadable_ = false;
      return;
    }
    const int changed = lines ^ lastModemLines_;
    if (changed & TIOCM_CTS) seen.Include(evCTS);
    if (changed & TIOCM_DSR) seen.Include(evDSR);
    if (changed & TIOCM_CAR) seen.Include(evRLSD);
    if (changed & lines & TIOCM_RNG) seen.Include(evRing);
    lastModemLines_ = lines;
  }
  RaiseLocked(seen);
}

void TermiosDevice::RaiseLocked(SerialEvents events) {
  pending_ = SerialEvents::FromBits(pending_.Bits() | (events.Bits() & mask_.Bits()));
}

int TermiosDevice::PullInputLocked(Puller puller) {
  if (hungUp_) return EIO;
  char chunk[4096];
  int added = 0;
  bool sawEventChar = false;
  const std::size_t before = input_.size();
  int error = 0;
  while (static_cast<int>(input_.size()) < inputCap_) {
    const std::size_t room =
        std::min(sizeof chunk, static_cast<std::size_t>(inputCap_) - input_.size());
    const ssize_t n = ::read(fd_, chunk, room);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) break;
    if (n <= 0) {
      // A tty reads 0 only once it is hung up.
      error = n == 0 ? EIO : errno;
      if (HungUp(error)) hungUp_ = true;
      break;
    }
    for (ssize_t i = 0; i < n; ++i) {
      const char c = chunk[i];
      if (c == 0 && discardNull_) continue;
      if (static_cast<unsigned char>(c) == eventChar_) sawEventChar = true;
      input_.push_back(c);
      ++added;
    }
  }
  if (added > 0) {
    SerialEvents arrived{evRxChar};
    if (sawEventChar) arrived.Include(evRxFlag);
    const std::size_t mark = static_cast<std::size_t>(inputCap_) * 8 / 10;
    if (before < mark && input_.size() >= mark) arrived.Include(evRx80Full);
    const auto had = pending_;
    RaiseLocked(arrived);
    if (puller == Puller::kEventThread) {
      rx_.Signal();
    } else if (!(pending_ == had)) {
      wake_.Signal();
    }
  }
  return added > 0 ? 0 : error;
}

int TermiosDevice::TakeLocked(char* data, int max) {
  const int n = std::min(max, static_cast<int>(input_.size()));
  std::copy_n(input_.begin(), n, data);
  input_.erase(input_.begin(), input_.begin() + n);
  return n;
}

int TermiosDevice::CharTimeUs() const {
  // Start bit, eight data bits, stop bit: near enough for pacing a drain wait.
  return 10 * 1000000 / std::max(baudRate_, 1);
}

void TermiosDevice::WaitForOutputDrained(int limitMs) {
  const auto end = SerialClock::now() + std::chrono::milliseconds(limitMs);
  int queued = 0;
  while (::ioctl(fd_, TIOCOUTQ, &queued) == 0 && queued > 0 && SerialClock::now() < end) {
    int stepUs;
    {
      std::lock_guard lock(mutex_);
      stepUs = std::clamp(queued * CharTimeUs(), 1000, 20000);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(stepUs));
  }
}
