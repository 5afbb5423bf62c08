#include <dirent.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "CPort/TComPort.h"

namespace {

const QString kSysTty = QStringLiteral("/sys/class/tty");

// /dev/ttyS0../dev/ttyS31 exist whether or not a UART is behind them; the serial core tells
// the real ones by their type (0 is PORT_UNKNOWN) without our having to open them.
bool HasUart(const QString& name) {
  QFile type(kSysTty + u'/' + name + QStringLiteral("/type"));
  if (!type.open(QIODevice::ReadOnly)) return false;
  return type.readAll().trimmed().toInt() != 0;
}

bool IsSerialDevice(const QString& name) {
  const bool usb =
      name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"));
  const bool uart = name.startsWith(QLatin1String("ttyS"));
  if (!usb && !uart) return false;
  // Only devices behind hardware have a device link; the console's ttys do not.
  if (!QFileInfo::exists(kSysTty + u'/' + name + QStringLiteral("/device"))) return false;
  if (uart && !HasUart(name)) return false;
  return QFileInfo::exists(QStringLiteral("/dev/") + name);
}

}  // namespace

QString PublishedPortsDir() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty()) return QString::fromLocal8Bit(runtime) + QStringLiteral("/sorvell-ports");
  return QStringLiteral("/tmp/sorvell-ports-%1").arg(::getuid());
}

void EnumComPorts(QStringList& ports) {
  QStringList found;
  DIR* dir = ::opendir(kSysTty.toLocal8Bit().constData());
  if (!dir) {
    // Without sysfs there are no hardware ports to list; anything else is a failure to ask.
    if (errno != ENOENT) throw EComPort(ecPortList, errno);
  } else {
    while (const dirent* entry = ::readdir(dir)) {
      const QString name = QString::fromLocal8Bit(entry->d_name);
      if (IsSerialDevice(name)) found.append(QStringLiteral("/dev/") + name);
    }
    ::closedir(dir);
  }

  // A published port is listed by its link's path, which names it for the user; a link whose
  // device has gone (a simulator that ended) is left out.
  const QDir published(PublishedPortsDir());
  for (const QFileInfo& link :
       published.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
    if (link.isSymLink() && link.exists()) found.append(link.absoluteFilePath());
  }
  found.sort(Qt::CaseInsensitive);
  ports = found;
}
