#include "PortTestSupport.h"

// termios2 for TCGETS2; <termios.h> must not come into this file.
#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

PtyPair::PtyPair() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    throw std::runtime_error("no pty");
  }
  slavePath_ = QString::fromLocal8Bit(::ptsname(master_));
}

PtyPair::~PtyPair() {
  CloseMaster();
}

void PtyPair::Write(const QByteArray& bytes) {
  if (::write(master_, bytes.constData(), bytes.size()) != bytes.size()) {
    throw std::runtime_error("pty master write failed");
  }
}

QByteArray PtyPair::Read(int count, int timeoutMs) {
  QByteArray got;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (got.size() < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    pollfd ready{master_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
    char chunk[256];
    const ssize_t n = ::read(master_, chunk, sizeof chunk);
    if (n <= 0) break;
    got.append(chunk, static_cast<int>(n));
  }
  return got;
}

void PtyPair::CloseMaster() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

unsigned PtyPair::OutputSpeed() const {
  termios2 settings{};
  if (::ioctl(master_, TCGETS2, &settings) != 0) return 0;
  return settings.c_ospeed;
}

bool SleepUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}
