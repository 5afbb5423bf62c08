// The published port refuses a place others could redirect, and never removes a link that is
// no longer its own.
#include "PublishedPort.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <stdexcept>

namespace {

TEST(PublishedPort, LeavesALinkThatIsNoLongerItsOwn) {
  QTemporaryDir base;
  const QString ports = base.path() + "/sorvell-ports";
  {
    const PublishedPort port(ports, "sorvell-sim-lenz", "/dev/null");
    ASSERT_TRUE(QFile::remove(ports + "/sorvell-sim-lenz"));
    ASSERT_TRUE(QFile::link("/dev/zero", ports + "/sorvell-sim-lenz"));
  }
  EXPECT_EQ(QFileInfo(ports + "/sorvell-sim-lenz").symLinkTarget(), "/dev/zero");
}

TEST(PublishedPort, RefusesADirectoryOthersCanWriteInOrALinkInItsPlace) {
  QTemporaryDir base;
  const QString open = base.path() + "/open", linked = base.path() + "/linked";
  ASSERT_TRUE(QDir().mkpath(open));
  ASSERT_EQ(::chmod(open.toLocal8Bit().constData(), 0777), 0);
  ASSERT_TRUE(QFile::link(base.path(), linked));
  for (const QString& ports : {open, linked}) {
    EXPECT_THROW(PublishedPort(ports, "sorvell-sim-lenz", "/dev/null"), std::runtime_error);
    EXPECT_FALSE(QFileInfo(ports + "/sorvell-sim-lenz").isSymLink());
  }
}

}  // namespace
