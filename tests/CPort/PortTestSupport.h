// What the serial port tests share: a pty pair whose master plays the far end, a wait that gives
// up after a deadline for what other threads make true (WaitFor serves what the event loop
// brings), and the EComPort a call raised.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>

#include "CPort/EComPort.h"
#include "support/WaitFor.h"

class PtyPair {
 public:
  PtyPair() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
      throw std::runtime_error("no pty");
    }
    slavePath_ = QString::fromLocal8Bit(::ptsname(master_));
  }
  ~PtyPair() { CloseMaster(); }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const QString& SlavePath() const { return slavePath_; }
  int Master() const { return master_; }
  void Write(const QByteArray& bytes) {
    if (::write(master_, bytes.constData(), bytes.size()) != bytes.size()) {
      throw std::runtime_error("pty master write failed");
    }
  }
  // What the master can read within 2 s, until count bytes have come.
  QByteArray Read(int count) {
    QByteArray got;
    pollfd ready{master_, POLLIN, 0};
    while (got.size() < count && ::poll(&ready, 1, 2000) > 0) {
      char chunk[256];
      const ssize_t n = ::read(master_, chunk, sizeof chunk);
      if (n <= 0) break;
      got.append(chunk, static_cast<int>(n));
    }
    return got;
  }
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_;
  QString slavePath_;
};

// Sleeps in steps of a millisecond, processing no events, until done() holds or 5 s have passed.
inline bool SleepUntil(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// Runs call and returns the EComPort it raised (code 0 when it raised none).
inline EComPort Raised(const std::function<void()>& call) {
  try {
    call();
  } catch (const EComPort& error) {
    return error;
  }
  return EComPort(0);
}
