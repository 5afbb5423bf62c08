#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include "CPort/TComPort.h"
#include "PortTestSupport.h"

namespace {

// Points XDG_RUNTIME_DIR somewhere of its own for one test.
class RuntimeDir {
 public:
  RuntimeDir()
      : saved_(qgetenv("XDG_RUNTIME_DIR")), had_(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit());
  }
  ~RuntimeDir() {
    had_ ? (void)qputenv("XDG_RUNTIME_DIR", saved_) : (void)qunsetenv("XDG_RUNTIME_DIR");
  }
  QString Path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QByteArray saved_;
  bool had_;
};

TEST(EnumComPorts, PublishedPortsDirFollowsTheRuntimeDir) {
  RuntimeDir runtime;
  EXPECT_EQ(PublishedPortsDir(), runtime.Path() + QStringLiteral("/sorvell-ports"));
  qunsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(PublishedPortsDir(), QStringLiteral("/tmp/sorvell-ports-%1").arg(getuid()));
}

TEST(EnumComPorts, ListsHardwareAndLivePublishedPortsSortedIgnoringCase) {
  RuntimeDir runtime;
  const QString published = PublishedPortsDir();
  ASSERT_TRUE(QDir().mkpath(published));
  PtyPair a, b;
  ASSERT_TRUE(QFile::link(a.SlavePath(), published + QStringLiteral("/COM2")));
  ASSERT_TRUE(QFile::link(b.SlavePath(), published + QStringLiteral("/com10")));
  ASSERT_TRUE(QFile::link(a.SlavePath(), published + QStringLiteral("/COM1")));
  ASSERT_TRUE(
      QFile::link(QStringLiteral("/dev/sorvell-gone"), published + QStringLiteral("/COM3")));

  QStringList ports{QStringLiteral("stale")};
  EnumComPorts(ports);
  QStringList ours, hardware;
  for (const QString& port : ports) (port.startsWith(published) ? ours : hardware) << port;
  EXPECT_EQ(ours, QStringList({published + "/COM1", published + "/com10", published + "/COM2"}));
  for (const QString& port : hardware) {
    EXPECT_TRUE(port.startsWith("/dev/ttyS") || port.startsWith("/dev/ttyUSB") ||
                port.startsWith("/dev/ttyACM"))
        << port.toStdString();
  }
  QStringList sorted = ports;
  sorted.sort(Qt::CaseInsensitive);
  EXPECT_EQ(ports, sorted);

  // A published port opens under its link's name.
  TComPort port;
  port.SetEvents({});
  port.SetPort(published + QStringLiteral("/com10"));
  port.Open();
  port.WriteStr("ok");
  EXPECT_EQ(b.Read(2), QByteArray("ok"));
}

// A stable name stands for its device, beside the kernel's name, and is the path that opens;
// links whose device has gone, and files that are no links, are no ports.
TEST(EnumComPorts, AdaptersWithAStableNameAreListedByIt) {
  RuntimeDir runtime;
  QTemporaryDir byId, devices;
  PtyPair adapter;
  const QString ftdi = QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  const QString file = devices.filePath(QStringLiteral("ttyFake0"));
  ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
  ASSERT_TRUE(QFile::link(adapter.SlavePath(), byId.filePath(ftdi)));
  ASSERT_TRUE(QFile::link(file, byId.filePath(QStringLiteral("Usb-Prolific-port0"))));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/sorvell-gone"), byId.filePath("usb-Gone-port0")));
  ASSERT_TRUE(QFile(byId.filePath(QStringLiteral("usb-NoLink-port0"))).open(QIODevice::WriteOnly));
  // A hardware port of this machine, when it has one, is named too and then not listed twice.
  const std::vector<TComPortName> kernel = EnumComPortNames(devices.path());
  const QString hardware = kernel.empty() ? QString() : kernel.front().Path;
  if (!hardware.isEmpty()) {
    ASSERT_TRUE(QFile::link(hardware, byId.filePath(QStringLiteral("pci-serial0"))));
  }

  const std::vector<TComPortName> ports = EnumComPortNames(byId.path());
  QStringList paths, names;
  for (const TComPortName& port : ports) {
    paths << port.Path;
    names << port.DisplayName;
  }
  EXPECT_EQ(paths.count(byId.filePath(ftdi)), 1);
  EXPECT_TRUE(names.contains(ftdi + " (" + adapter.SlavePath().mid(5) + ")"))
      << names.join('|').toStdString();
  EXPECT_TRUE(names.contains("Usb-Prolific-port0 (ttyFake0)"));
  EXPECT_FALSE(names.join('|').contains("Gone") || names.join('|').contains("NoLink"));
  if (!hardware.isEmpty()) {
    EXPECT_FALSE(paths.contains(hardware));
    EXPECT_TRUE(names.contains("pci-serial0 (" + hardware.mid(5) + ")"));
    EXPECT_EQ(ports.size(), kernel.size() + 2);
  }
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  }));

  TComPort port;
  port.SetEvents({});
  port.SetPort(byId.filePath(ftdi));
  port.Open();
  port.WriteStr("ok");
  EXPECT_EQ(adapter.Read(2), QByteArray("ok"));
}

}  // namespace
