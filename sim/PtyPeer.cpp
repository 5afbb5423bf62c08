#include "PtyPeer.h"

#include "TtySpeed.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace {

// Data arriving on the reader thread must wake a user-interface thread that is blocked in
// its event loop waiting for it.
void WakeUiThread() {
  if (auto* app = QCoreApplication::instance())
    QMetaObject::invokeMethod(
        app, [] {}, Qt::QueuedConnection);
}

}  // namespace

PtyPeer::PtyPeer() : PtyPeer(ReaderStart::Deferred) {
  StartReader();
}

PtyPeer::PtyPeer(ReaderStart) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
    throw std::runtime_error("cannot create a pseudo-terminal");
  slavePath_ = QString::fromLocal8Bit(::ptsname(master_));
  slaveKeepAlive_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slaveKeepAlive_ < 0 || ::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0)
    throw std::runtime_error("cannot open the pseudo-terminal");
  // Raw from the start, so nothing is echoed back before the program sets its own mode.
  termios raw{};
  ::tcgetattr(slaveKeepAlive_, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(slaveKeepAlive_, TCSANOW, &raw);
}

PtyPeer::~PtyPeer() {
  StopReader();
  for (int fd : {master_, slaveKeepAlive_, wakePipe_[0], wakePipe_[1]})
    if (fd >= 0) ::close(fd);
}

void PtyPeer::StartReader() {
  std::lock_guard lock(mutex_);
  if (readerRunning_ || reader_.joinable()) return;
  readerRunning_ = true;
  reader_ = std::thread([this] { ReadLoop(); });
}

void PtyPeer::StopReader() {
  {
    std::lock_guard lock(mutex_);
    if (!reader_.joinable()) return;
    stopping_ = true;
  }
  WakeReader();
  reader_.join();
}

void PtyPeer::WakeReader() {
  // A full pipe already holds a wake-up: the byte may be dropped.
  const char wake = 0;
  [[maybe_unused]] auto written = ::write(wakePipe_[1], &wake, 1);
}

void PtyPeer::Send(const QByteArray& bytes) {
  std::lock_guard lock(mutex_);
  if (unplugged_) return;
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(master_, data, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    data += n;
    left -= n;
  }
}

termios PtyPeer::SlaveSettings() const {
  std::lock_guard lock(mutex_);
  termios settings{};
  if (slaveKeepAlive_ >= 0) ::tcgetattr(slaveKeepAlive_, &settings);
  return settings;
}

int PtyPeer::SlaveBaudRate() const {
  std::lock_guard lock(mutex_);
  return slaveKeepAlive_ >= 0 ? ReadTtyOutputSpeed(slaveKeepAlive_) : 0;
}

std::vector<PtyPeer::ReceivedByte> PtyPeer::Received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

QByteArray PtyPeer::ReceivedData() const {
  std::lock_guard lock(mutex_);
  QByteArray data;
  data.reserve(static_cast<qsizetype>(received_.size()));
  for (const auto& b : received_) data.append(static_cast<char>(b.value));
  return data;
}

std::size_t PtyPeer::ReceivedCount() const {
  std::lock_guard lock(mutex_);
  return received_.size();
}

void PtyPeer::ClearReceived() {
  std::lock_guard lock(mutex_);
  received_.clear();
}

void PtyPeer::Unplug() {
  std::unique_lock lock(mutex_);
  if (unplugged_) return;
  unplugged_ = true;
  // Both ends of our side go, so the program's port sees the hang-up of a vanished adapter.
  ::close(slaveKeepAlive_);
  slaveKeepAlive_ = -1;
  if (!readerRunning_ || readerId_ == std::this_thread::get_id()) {
    CloseMasterLocked();
    return;
  }
  WakeReader();
  masterClosed_.wait(lock, [this] { return master_ < 0; });
}

void PtyPeer::CloseMasterLocked() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
  masterClosed_.notify_all();
}

bool PtyPeer::Unplugged() const {
  std::lock_guard lock(mutex_);
  return unplugged_;
}

void PtyPeer::OnReceived(const QByteArray&) {}

void PtyPeer::ReadLoop() {
  {
    std::lock_guard lock(mutex_);
    readerId_ = std::this_thread::get_id();
  }
  char buffer[4096];
  bool masterOpen = true;  // false once the master has reported the slave gone for good
  for (;;) {
    int master;
    {
      std::lock_guard lock(mutex_);
      if (unplugged_) CloseMasterLocked();
      if (stopping_) break;
      master = master_;
    }
    pollfd fds[2] = {{wakePipe_[0], POLLIN, 0}, {master, POLLIN, 0}};
    const nfds_t count = master >= 0 && masterOpen ? 2 : 1;
    if (::poll(fds, count, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[0].revents != 0) {
      char drained[64];
      while (::read(wakePipe_[0], drained, sizeof drained) > 0) {
      }
      continue;
    }
    if (count < 2 || fds[1].revents == 0) continue;
    const ssize_t n = ::read(master, buffer, sizeof buffer);
    if (n <= 0) {
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      // Nothing more will come; wait only to be woken.
      masterOpen = false;
      continue;
    }
    const auto now = Clock::now();
    {
      std::lock_guard lock(mutex_);
      for (ssize_t i = 0; i < n; ++i)
        received_.push_back({static_cast<unsigned char>(buffer[i]), now});
    }
    OnReceived(QByteArray(buffer, static_cast<qsizetype>(n)));
    WakeUiThread();
  }
  std::lock_guard lock(mutex_);
  readerRunning_ = false;
  // An unplug that waits for us must not wait for ever.
  if (unplugged_) CloseMasterLocked();
}
