// The port list: adapters by their stable names, with the kernel's beside them, and the ports
// published for Sorvell (the simulator's) by their own paths; a link whose device has gone, or a
// file that is no link, is no port.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "PortTestSupport.h"
#include "serial/SerialPort.h"

namespace {

TEST(ListSerialPorts, StableAndPublishedNamesOfDevicesThatAreThere) {
  QTemporaryDir byId, runtime;
  PtyPair adapter, simulator;
  const QString ftdi = byId.filePath("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  const QString published = runtime.filePath("sorvell-ports/sorvell-sim-lenz");
  const QByteArray userRuntime = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  ASSERT_EQ(PublishedPortsDir(), runtime.filePath("sorvell-ports"));
  ASSERT_TRUE(QDir().mkpath(PublishedPortsDir()));
  ASSERT_TRUE(QFile::link(adapter.SlavePath(), ftdi) &&
              QFile::link(simulator.SlavePath(), published) &&
              QFile::link("/dev/sorvell-gone", byId.filePath("usb-Gone-port0")) &&
              QFile::link("/dev/sorvell-gone", runtime.filePath("sorvell-ports/sorvell-sim-p50x")));
  ASSERT_TRUE(QFile(byId.filePath("usb-NoLink-port0")).open(QIODevice::WriteOnly));
  QStringList found;
  for (const SerialPortName& port : ListSerialPortNames(byId.path()))
    if (!port.Path.startsWith("/dev/")) found << port.Path + " = " + port.DisplayName;
  qputenv("XDG_RUNTIME_DIR", userRuntime);
  EXPECT_EQ(found, QStringList({published + " = " + published,
                                ftdi + " = " + QFileInfo(ftdi).fileName() + " (" +
                                    adapter.SlavePath().mid(5) + ")"}));
}

}  // namespace
