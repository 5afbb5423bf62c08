#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "CPort/CPortText.h"

namespace {

// The build tree keeps the catalogues beside the executable; an installed program finds them
// under share/ next to its bin/.
TEST(CatalogueDirectory, PrefersBesideTheExecutableThenTheInstalledLayout) {
  QTemporaryDir prefix;
  const QDir root(prefix.path());
  const QString bin = root.filePath("bin");
  ASSERT_TRUE(root.mkpath("bin"));
  EXPECT_EQ(CatalogueDirectory(bin), root.filePath("bin/locale"));

  ASSERT_TRUE(root.mkpath("share/locale"));
  EXPECT_EQ(CatalogueDirectory(bin), root.filePath("share/locale"));

  ASSERT_TRUE(root.mkpath("bin/locale"));
  EXPECT_EQ(CatalogueDirectory(bin), root.filePath("bin/locale"));
}

}  // namespace
