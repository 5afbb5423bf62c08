#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <stdexcept>

#include "PublishedPort.h"

namespace {

class PublishedPortTest : public testing::Test {
 protected:
  QString LinkTarget(const QString& name) const {
    return QFileInfo(ports + u'/' + name).symLinkTarget();
  }
  bool LinkExists(const QString& name) const { return QFileInfo(ports + u'/' + name).isSymLink(); }

  QTemporaryDir base;
  QString ports = base.path() + QStringLiteral("/sorvell-ports");
};

TEST_F(PublishedPortTest, LeavesALinkThatIsNoLongerItsOwn) {
  {
    const PublishedPort port(ports, "sorvell-sim-lenz", "/dev/null");
    ASSERT_TRUE(QFile::remove(ports + "/sorvell-sim-lenz"));
    ASSERT_TRUE(QFile::link("/dev/zero", ports + "/sorvell-sim-lenz"));
  }
  EXPECT_EQ(LinkTarget("sorvell-sim-lenz"), "/dev/zero");
}

TEST_F(PublishedPortTest, RefusesADirectoryOthersCanWriteIn) {
  ASSERT_TRUE(QDir().mkpath(ports));
  ASSERT_EQ(::chmod(ports.toLocal8Bit().constData(), 0777), 0);
  EXPECT_THROW(PublishedPort(ports, "sorvell-sim-lenz", "/dev/null"), std::runtime_error);
  EXPECT_FALSE(LinkExists("sorvell-sim-lenz"));

  // Nor a link in place of the directory, which could lead anywhere.
  const QString elsewhere = base.path() + "/elsewhere";
  ASSERT_TRUE(QDir().mkpath(elsewhere));
  const QString linked = base.path() + "/linked-ports";
  ASSERT_TRUE(QFile::link(elsewhere, linked));
  EXPECT_THROW(PublishedPort(linked, "sorvell-sim-lenz", "/dev/null"), std::runtime_error);
}

}  // namespace
