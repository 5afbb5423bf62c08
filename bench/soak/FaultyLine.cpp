#include "FaultyLine.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

FaultyLine::FaultyLine(const QString& stationPath, const LineFaultPlan& plan)
    : PtyPeer(ReaderStart::Deferred), plan_(plan), random_(plan.seed) {
  station_ = ::open(stationPath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (station_ < 0 || ::pipe2(stopPipe_, O_CLOEXEC) != 0)
    throw std::runtime_error("cannot reach the station's pty");
  termios raw{};
  ::tcgetattr(station_, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(station_, TCSANOW, &raw);
  forwarder_ = std::thread([this] { ForwardReplies(); });
  StartReader();
}

FaultyLine::~FaultyLine() {
  StopReader();
  const char stop = 0;
  [[maybe_unused]] auto written = ::write(stopPipe_[1], &stop, 1);
  forwarder_.join();
  for (int fd : {station_, stopPipe_[0], stopPipe_[1]}) ::close(fd);
}

// The program's writes, on the pty reader thread.
void FaultyLine::OnReceived(const QByteArray& bytes) {
  if (plan_.fault == LineFault::Unplug && ++writesPassed_ > plan_.writesBeforeUnplug) {
    Unplug();
    return;
  }
  if (interfaceOff_) return;
  MatchStationSpeed();
  for (qsizetype at = 0; at < bytes.size();) {
    const ssize_t n = ::write(station_, bytes.constData() + at, bytes.size() - at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    at += n;
  }
}

// A P50X command station hears only what comes at its own rate and stop bits, which it reads
// from its pty: those must be what the program set on ours.
void FaultyLine::MatchStationSpeed() {
  const termios program = SlaveSettings();
  termios station{};
  ::tcgetattr(station_, &station);
  const tcflag_t stopBits = program.c_cflag & CSTOPB;
  if (cfgetospeed(&station) == cfgetospeed(&program) && (station.c_cflag & CSTOPB) == stopBits)
    return;
  cfsetispeed(&station, cfgetospeed(&program));
  cfsetospeed(&station, cfgetospeed(&program));
  station.c_cflag = (station.c_cflag & ~CSTOPB) | stopBits;
  ::tcsetattr(station_, TCSANOW, &station);
}

void FaultyLine::ForwardReplies() {
  char buffer[512];
  for (;;) {
    pollfd fds[2] = {{stopPipe_[0], POLLIN, 0}, {station_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents != 0) return;
    const ssize_t n = ::read(station_, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return;
    if (interfaceOff_) continue;
    QByteArray reply;
    for (ssize_t i = 0; i < n; ++i) reply += Spoil(buffer[i]);
    Send(reply);
  }
}

QByteArray FaultyLine::Spoil(char byte) {
  switch (plan_.fault) {
    case LineFault::None:
    case LineFault::Unplug:
    case LineFault::InterfaceOff:
      return QByteArray(1, byte);
    case LineFault::Silence:
      if (repliesPassed_ < plan_.bytesBeforeSilence) {
        ++repliesPassed_;
        return QByteArray(1, byte);
      }
      return {};
    case LineFault::Drop:
      return Hit() ? QByteArray() : QByteArray(1, byte);
    case LineFault::Duplicate:
      return Hit() ? QByteArray(2, byte) : QByteArray(1, byte);
    case LineFault::Corrupt:
      if (Hit()) byte ^= static_cast<char>(std::uniform_int_distribution<int>(1, 255)(random_));
      return QByteArray(1, byte);
    case LineFault::Delay:
      if (Hit()) {
        // The stall holds back this byte and every byte behind it, as a line that hangs does.
        const int stallMs = std::uniform_int_distribution<int>(1, plan_.longestDelayMs)(random_);
        pollfd stop{stopPipe_[0], POLLIN, 0};
        ::poll(&stop, 1, stallMs);
      }
      return QByteArray(1, byte);
  }
  return QByteArray(1, byte);
}

bool FaultyLine::Hit() {
  if (repliesPassed_ < plan_.bytesBeforeFaults) {
    ++repliesPassed_;
    return false;
  }
  return std::uniform_int_distribution<int>(0, 99)(random_) < plan_.percentHit;
}
