#include <dirent.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

#include "serial/SerialPort.h"

namespace {

const QString kSysTty = QStringLiteral("/sys/class/tty");
const QString kDev = QStringLiteral("/dev/");

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
  return QFileInfo::exists(kDev + name);
}

// The symbolic links of a folder whose device is still there; a link left behind by an
// adapter or a simulator that has gone is no port.
QFileInfoList LiveLinks(const QString& folder) {
  QFileInfoList links;
  for (const QFileInfo& link :
       QDir(folder).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
    if (link.isSymLink() && link.exists()) links.append(link);
  }
  return links;
}

// The name the kernel gave a device: "ttyUSB0" for /dev/ttyUSB0, "pts/3" for a pty.
QString KernelName(const QString& device) {
  return device.startsWith(kDev) ? device.mid(kDev.size()) : QFileInfo(device).fileName();
}

}  // namespace

QString PublishedPortsDir() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty()) return QString::fromLocal8Bit(runtime) + QStringLiteral("/sorvell-ports");
  return QStringLiteral("/tmp/sorvell-ports-%1").arg(::getuid());
}

std::vector<SerialPortName> ListSerialPortNames(const QString& byIdDir) {
  QStringList devices;
  DIR* dir = ::opendir(kSysTty.toLocal8Bit().constData());
  if (!dir) {
    // Without sysfs there are no hardware ports to list; anything else is a failure to ask.
    if (errno != ENOENT) throw SerialPortError(ecPortList, errno);
  } else {
    while (const dirent* entry = ::readdir(dir)) {
      const QString name = QString::fromLocal8Bit(entry->d_name);
      if (IsSerialDevice(name)) devices.append(kDev + name);
    }
    ::closedir(dir);
  }

  std::vector<SerialPortName> ports;
  // A stable name replaces the kernel's: /dev/ttyUSB0 names whichever adapter came first,
  // the by-id link always the same one. The kernel name stays beside it, as the user may
  // know the adapter by it.
  QStringList named;
  for (const QFileInfo& link : LiveLinks(byIdDir)) {
    const QString device = link.canonicalFilePath();
    named.append(device);
    ports.push_back({link.absoluteFilePath(),
                     link.fileName() + QStringLiteral(" (") + KernelName(device) + u')'});
  }
  for (const QString& device : devices) {
    if (!named.contains(device)) ports.push_back({device, device});
  }
  // A published port is listed by its link's path, which names it for the user.
  for (const QFileInfo& link : LiveLinks(PublishedPortsDir()))
    ports.push_back({link.absoluteFilePath(), link.absoluteFilePath()});

  std::sort(ports.begin(), ports.end(), [](const SerialPortName& a, const SerialPortName& b) {
    return a.DisplayName.compare(b.DisplayName, Qt::CaseInsensitive) < 0;
  });
  return ports;
}

void ListSerialPorts(QStringList& ports) {
  QStringList found;
  for (const SerialPortName& port : ListSerialPortNames()) found.append(port.Path);
  found.sort(Qt::CaseInsensitive);
  ports = found;
}
