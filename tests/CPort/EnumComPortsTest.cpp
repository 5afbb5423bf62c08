// The port list: hardware ports, the ports simulators publish, and adapters by their stable
// names, sorted ignoring case; links whose device has gone, and files that are no links, are
// no ports.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

#include "CPort/TComPort.h"
#include "PortTestSupport.h"

namespace {

bool SortedIgnoringCase(const QStringList& list) {
  return std::is_sorted(list.begin(), list.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
}

TEST(EnumComPorts, ListsHardwareAndLivePublishedPorts) {
  QTemporaryDir runtime;
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  qunsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(PublishedPortsDir(), QStringLiteral("/tmp/sorvell-ports-%1").arg(getuid()));
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  const QString published = PublishedPortsDir();
  EXPECT_EQ(published, runtime.path() + "/sorvell-ports");
  ASSERT_TRUE(QDir().mkpath(published));
  PtyPair a;
  for (const char* name : {"/COM2", "/com10", "/COM1"}) {
    ASSERT_TRUE(QFile::link(a.SlavePath(), published + name));
  }
  ASSERT_TRUE(QFile::link("/dev/sorvell-gone", published + "/COM3"));

  QStringList ports{"stale"};
  EnumComPorts(ports);
  saved.isNull() ? (void)qunsetenv("XDG_RUNTIME_DIR") : (void)qputenv("XDG_RUNTIME_DIR", saved);
  QStringList ours;
  for (const QString& port : ports) {
    if (port.startsWith(published)) {
      ours << port;
    } else {
      EXPECT_TRUE(port.contains(QRegularExpression("^/dev/tty(S|USB|ACM)"))) << port.toStdString();
    }
  }
  EXPECT_EQ(ours, QStringList({published + "/COM1", published + "/com10", published + "/COM2"}));
  EXPECT_TRUE(SortedIgnoringCase(ports));
}

TEST(EnumComPorts, AdaptersWithAStableNameAreListedByIt) {
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
  EXPECT_TRUE(names.contains(ftdi + " (" + adapter.SlavePath().mid(5) + ")"));
  EXPECT_TRUE(names.contains("Usb-Prolific-port0 (ttyFake0)"));
  EXPECT_FALSE(names.join('|').contains("Gone") || names.join('|').contains("NoLink"));
  if (!hardware.isEmpty()) {
    EXPECT_FALSE(paths.contains(hardware));
    EXPECT_TRUE(names.contains("pci-serial0 (" + hardware.mid(5) + ")"));
    EXPECT_EQ(ports.size(), kernel.size() + 2);
  }
  EXPECT_TRUE(SortedIgnoringCase(names));
}

}  // namespace
