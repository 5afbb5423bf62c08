// What the serial port tests share: a pty pair whose master plays the far end, a wait that
// processes no events (WaitFor serves what the event loop brings), and the SerialPortError a call
// raised.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>
#include <utility>

#include "serial/SerialPortError.h"
#include "support/WaitFor.h"

struct PtyPair {
  PtyPair() { ::grantpt(master), ::unlockpt(master); }
  ~PtyPair() { CloseMaster(); }
  QString SlavePath() const { return QString::fromLocal8Bit(::ptsname(master)); }
  void Write(const QByteArray& bytes) {
    if (::write(master, bytes.constData(), bytes.size()) != bytes.size()) throw std::exception();
  }
  // What the master can read within 2 s, at most count bytes.
  QByteArray Read(int count) {
    QByteArray got(count, 0);
    pollfd ready{master, POLLIN, 0};
    ::poll(&ready, 1, 2000);
    got.resize(std::max<ssize_t>(0, ::read(master, got.data(), count)));
    return got;
  }
  void CloseMaster() { ::close(std::exchange(master, -1)); }
  int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
};

// Sleeps in steps of a millisecond, processing no events, until done() holds or 5 s have passed.
inline bool SleepUntil(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done() && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}

// Runs call and returns the SerialPortError it raised (code 0 when it raised none).
inline SerialPortError Raised(const std::function<void()>& call) {
  try {
    call();
  } catch (const SerialPortError& error) {
    return error;
  }
  return SerialPortError(0);
}
