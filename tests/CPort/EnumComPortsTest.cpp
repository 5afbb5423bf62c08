// The port list names adapters by their stable names, sorted ignoring case; links whose device
// has gone, and files that are no links, are no ports.
#include <gtest/gtest.h>

#include <QFile>
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
