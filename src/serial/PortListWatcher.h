// Tells when the list of ports may have changed: an adapter plugged in or pulled out, a stable
// name added or removed by udev, a port published or withdrawn by the simulator. The kernel
// reports changes to those folders through inotify on the event loop, so nothing polls.
#pragma once

#include <QObject>
#include <QString>
#include <map>

#include "serial/SerialPort.h"

class QSocketNotifier;

class PortListWatcher : public QObject {
  Q_OBJECT

 public:
  explicit PortListWatcher(const QString& byIdDir = kSerialByIdDir, QObject* parent = nullptr);
  ~PortListWatcher() override;
  PortListWatcher(const PortListWatcher&) = delete;
  PortListWatcher& operator=(const PortListWatcher&) = delete;

  // False when the kernel refused a watch; the list is then read only when it is filled.
  bool Watching() const { return fd_ >= 0; }

 signals:
  // Something in a watched folder changed; read the list again.
  void Changed();

 private:
  void WatchFolders();
  void ReadChanges();

  QString byIdDir_;
  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  // Per watch, the beginnings of the names that concern the port list ("" for all of them).
  std::map<int, QStringList> names_;
};
