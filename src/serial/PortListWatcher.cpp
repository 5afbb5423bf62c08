#include "serial/PortListWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t kFolderChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                    IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

}  // namespace

PortListWatcher::PortListWatcher(const QString& byIdDir, QObject* parent)
    : QObject(parent), byIdDir_(QDir::cleanPath(byIdDir)) {
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) {
    std::fprintf(stderr, "sorvell: cannot watch for serial adapters (%s)\n", std::strerror(errno));
    return;
  }
  WatchFolders();
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &PortListWatcher::ReadChanges);
}

PortListWatcher::~PortListWatcher() {
  delete notifier_;
  if (fd_ >= 0) ::close(fd_);
}

void PortListWatcher::WatchFolders() {
  std::map<int, QStringList> names;
  const auto watch = [&](const QString& folder, const QString& name) {
    const int wd = ::inotify_add_watch(fd_, QFile::encodeName(folder).constData(), kFolderChanges);
    if (wd < 0) return false;
    names[wd].append(name);
    return true;
  };
  // Serial device nodes all begin with "tty"; the rest of /dev comes and goes for other
  // devices and would only make the list flicker.
  watch(QStringLiteral("/dev"), QStringLiteral("tty"));
  for (const QString& folder : {byIdDir_, QDir::cleanPath(PublishedPortsDir())}) {
    // udev creates /dev/serial/by-id with the first adapter, the simulator its folder with
    // the first port: until then the nearest folder that exists is watched for that one name.
    QString path = folder;
    QString name;
    while (!watch(path, name) && path != QLatin1String("/") && !path.isEmpty()) {
      name = QFileInfo(path).fileName();
      path = QFileInfo(path).path();
    }
  }
  for (const auto& [wd, unused] : names_) {
    if (!names.count(wd)) ::inotify_rm_watch(fd_, wd);
  }
  names_ = std::move(names);
}

void PortListWatcher::ReadChanges() {
  bool changed = false;
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t length = ::read(fd_, buffer, sizeof buffer);
    if (length < 0 && errno == EINTR) continue;
    if (length <= 0) break;
    for (ssize_t offset = 0; offset < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
      offset += ssize_t(sizeof(inotify_event) + event->len);
      // An overflow may have hidden anything; a watch that ended took its folder with it.
      if (event->mask & IN_Q_OVERFLOW) {
        changed = true;
        continue;
      }
      const auto watched = names_.find(event->wd);
      if (watched == names_.end()) continue;
      if (event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
        changed = true;
        continue;
      }
      const QString name = event->len ? QFile::decodeName(event->name) : QString();
      for (const QString& beginning : watched->second) {
        if (name.startsWith(beginning)) changed = true;
      }
    }
  }
  if (!changed) return;
  // Folders may have come or gone with the change; watch those there are now before the list
  // is read again, so that nothing that happens after the reading goes unseen.
  WatchFolders();
  emit Changed();
}
