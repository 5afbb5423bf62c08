#include "PublishedPort.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

std::string Local(const QString& text) {
  return text.toLocal8Bit().toStdString();
}

[[noreturn]] void Fail(const QString& what, int error) {
  throw std::runtime_error(Local(what) + ": " + std::strerror(error));
}

// The directory may lie in /tmp, where anyone can create a name first: only a real directory
// of our own, writable by us alone, is trusted with links that the program will open.
void MakePrivateDirectory(const QString& directory) {
  const std::string path = Local(directory);
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
    Fail(QStringLiteral("cannot create %1").arg(directory), errno);
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0)
    Fail(QStringLiteral("cannot use %1").arg(directory), errno);
  if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid() || (info.st_mode & 022) != 0) {
    throw std::runtime_error(Local(
        QStringLiteral("%1 is not a private directory of this user; remove it and start again")
            .arg(directory)));
  }
}

}  // namespace

PublishedPort::PublishedPort(const QString& directory, const QString& name, const QString& target)
    : linkPath_(directory + u'/' + name), target_(target) {
  MakePrivateDirectory(directory);
  // The lock lives as long as the simulator's process, so a link whose lock is free is stale.
  const std::string lockPath =
      Local(directory + QStringLiteral("/.") + name + QStringLiteral(".lock"));
  lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lockFd_ < 0) Fail(QStringLiteral("cannot create the lock of %1").arg(linkPath_), errno);
  if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(lockFd_);
    if (error == EWOULDBLOCK) {
      throw std::runtime_error(
          Local(QStringLiteral("another simulator is running as %1").arg(linkPath_)));
    }
    Fail(QStringLiteral("cannot lock %1").arg(linkPath_), error);
  }
  // Made under a private name and renamed over the old link, so the program never sees a
  // half-made one.
  const std::string temporary =
      Local(directory + QStringLiteral("/.") + name + QStringLiteral(".new-%1").arg(::getpid()));
  ::unlink(temporary.c_str());
  if (::symlink(Local(target).c_str(), temporary.c_str()) != 0 ||
      ::rename(temporary.c_str(), Local(linkPath_).c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    ::close(lockFd_);
    Fail(QStringLiteral("cannot publish %1").arg(linkPath_), error);
  }
}

PublishedPort::~PublishedPort() {
  // Only our own link goes: never one that someone else has put there meanwhile.
  const std::string link = Local(linkPath_);
  char pointsTo[4096];
  const ssize_t length = ::readlink(link.c_str(), pointsTo, sizeof pointsTo);
  if (length > 0 && std::string(pointsTo, static_cast<std::size_t>(length)) == Local(target_))
    ::unlink(link.c_str());
  ::close(lockFd_);
}
