#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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

}  // namespace
