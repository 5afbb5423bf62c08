// The program's end of a simulator's pty, opened raw, for tests that talk to a simulator
// without the main window.
#pragma once

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <stdexcept>

class ProgramSide {
 public:
  explicit ProgramSide(const QString& path)
      : fd_(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (fd_ < 0) throw std::runtime_error("cannot open " + path.toStdString());
    termios raw{};
    ::tcgetattr(fd_, &raw);
    ::cfmakeraw(&raw);
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

 private:
  int fd_;
};
