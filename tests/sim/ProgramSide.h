// The program's end of a simulator's pty, opened raw, for tests that talk to a simulator
// without the main window.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <chrono>
#include <stdexcept>

class ProgramSide {
 public:
  // A station that judges the line (the P50X one) hears only what is sent at its rate and stop
  // bits.
  explicit ProgramSide(const QString& path, speed_t speed = B38400, bool twoStopBits = false)
      : fd_(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (fd_ < 0) throw std::runtime_error("cannot open " + path.toStdString());
    termios raw{};
    ::tcgetattr(fd_, &raw);
    ::cfmakeraw(&raw);
    ::cfsetspeed(&raw, speed);
    if (twoStopBits) raw.c_cflag |= CSTOPB;
    ::tcsetattr(fd_, TCSANOW, &raw);
  }
  ~ProgramSide() { ::close(fd_); }
  ProgramSide(const ProgramSide&) = delete;
  ProgramSide& operator=(const ProgramSide&) = delete;

  // Each call is one write, so the simulator may see the bytes in several reads.
  void Write(const QByteArray& bytes) {
    if (::write(fd_, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size())
      throw std::runtime_error("short write to the pty");
  }

  // What arrives until count bytes are in or timeoutMs has passed.
  QByteArray Read(qsizetype count, int timeoutMs = 2000) {
    QByteArray data;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (data.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
      pollfd readable{fd_, POLLIN, 0};
      if (left <= 0 || ::poll(&readable, 1, static_cast<int>(left)) <= 0) break;
      char buffer[256];
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n <= 0) break;
      data.append(buffer, n);
    }
    return data;
  }

 private:
  int fd_;
};
