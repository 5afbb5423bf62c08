#include "serial/SerialDevice.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

WakeFd::WakeFd() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WakeFd::~WakeFd() {
  if (fd_ >= 0) ::close(fd_);
}

void WakeFd::Signal() {
  const std::uint64_t one = 1;
  (void)!::write(fd_, &one, sizeof one);
}

void WakeFd::Drain() {
  std::uint64_t count;
  (void)!::read(fd_, &count, sizeof count);
}

void StopSignal::Set() {
  set_.store(true);
  wake_.Signal();  // never drained
}

bool StopSignal::Wait(int milliseconds) const {
  pollfd probe{Fd(), POLLIN, 0};
  if (!IsSet()) ::poll(&probe, 1, milliseconds);
  return IsSet();
}

namespace {

using std::chrono::milliseconds;
constexpr std::uint32_t kNoLimit = SerialTimeouts::kNoLimit;
// Far enough to mean "never" without overflowing the clock.
constexpr std::uint64_t kLongestMs = std::uint64_t(1) << 40;

std::optional<SerialClock::time_point> TotalDeadline(std::uint32_t multiplier,
                                                     std::uint32_t constant, int count,
                                                     SerialClock::time_point start) {
  if (multiplier == 0 && constant == 0) return std::nullopt;
  const std::uint64_t ms = std::uint64_t(multiplier) * std::uint64_t(std::max(count, 0)) + constant;
  return start + milliseconds(std::min(ms, kLongestMs));
}

}  // namespace

std::optional<SerialClock::time_point> WriteDeadline(const SerialTimeouts& timeouts, int count,
                                                     SerialClock::time_point start) {
  return TotalDeadline(timeouts.writeTotalMultiplier, timeouts.writeTotalConstant, count, start);
}

int ReadUnderTimeouts(const SerialTimeouts& timeouts, char* data, int count, int& read,
                      const SerialTake& take, const SerialWait& wait) {
  read = 0;
  const auto start = SerialClock::now();
  const int first = take(data, count);
  if (first < 0) return -first;
  read = first;
  if (read == count) return 0;

  const std::uint32_t interval = timeouts.readInterval;
  const std::uint32_t multiplier = timeouts.readTotalMultiplier;
  const std::uint32_t constant = timeouts.readTotalConstant;
  if (interval == kNoLimit && multiplier == 0 && constant == 0) return 0;

  // Interval and multiplier at the limit with a real constant: return as soon as there is
  // one byte, waiting at most the constant for it.
  const bool firstByteOnly =
      interval == kNoLimit && multiplier == kNoLimit && constant > 0 && constant < kNoLimit;
  if (firstByteOnly && read > 0) return 0;

  const std::optional<SerialClock::time_point> total =
      firstByteOnly ? std::optional(start + milliseconds(constant))
                    : TotalDeadline(multiplier, constant, count, start);
  const bool intervalLimit = !firstByteOnly && interval != 0 && interval != kNoLimit;
  auto lastByte = SerialClock::now();

  while (read < count) {
    std::optional<SerialClock::time_point> deadline = total;
    if (intervalLimit && read > 0) {
      const auto gapEnd = lastByte + milliseconds(interval);
      deadline = deadline ? std::min(*deadline, gapEnd) : gapEnd;
    }
    if (deadline && SerialClock::now() >= *deadline) break;
    wait(deadline);
    const int more = take(data + read, count - read);
    if (more < 0) return read > 0 ? 0 : -more;
    if (more > 0) {
      read += more;
      lastByte = SerialClock::now();
      if (firstByteOnly) break;
    }
  }
  return 0;
}
