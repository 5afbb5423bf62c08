// The port list names adapters by their stable names, sorted ignoring case; links whose device
// has gone, and files that are no links, are no ports.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "PortTestSupport.h"
#include "serial/SerialPort.h"

namespace {

TEST(ListSerialPorts, AdaptersWithAStableNameAreListedByIt) {
  QTemporaryDir byId;
  PtyPair adapter;
  const QString ftdi = QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  ASSERT_TRUE(QFile::link(adapter.SlavePath(), byId.filePath(ftdi)));
  ASSERT_TRUE(QFile::link("/dev/null", byId.filePath(QStringLiteral("Usb-Prolific-port0"))));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/sorvell-gone"), byId.filePath("usb-Gone-port0")));
  ASSERT_TRUE(QFile(byId.filePath(QStringLiteral("usb-NoLink-port0"))).open(QIODevice::WriteOnly));
  QStringList found;
  for (const SerialPortName& port : ListSerialPortNames(byId.path())) {
    if (port.Path.startsWith(byId.path())) found << port.Path + " = " + port.DisplayName;
  }
  EXPECT_EQ(
      found,
      QStringList({byId.filePath(ftdi) + " = " + ftdi + " (" + adapter.SlavePath().mid(5) + ")",
                   byId.filePath("Usb-Prolific-port0") + " = Usb-Prolific-port0 (null)"}));
}

}  // namespace
