#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "WD10/TFrm_WD10.h"
#include "WD10/TFrm_WD10Version.h"
#include "platform/TMemo.h"
#include "platform/VersionInfo.h"

namespace {

class VersionDisplay : public testing::Test {
 protected:
  QString WriteFile(const std::vector<char>& contents) {
    const QString path = dir.filePath(QStringLiteral("program"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "\x7f"
        "ELF code before the block");
    file.write(contents.data(), qint64(contents.size()));
    return path;
  }

  QTemporaryDir dir;
  TMemo memo;
};

TEST_F(VersionDisplay, FileWithoutVersionDataGivesOneLine) {
  ListVersionInformation(WriteFile({}), memo);
  EXPECT_EQ(memo.Lines(), QStringList{"No version information found"});
}

// The keys are written as resource compilers spell them; the display asks for
// "LegalTradeMarks" and "OriginalFileName", which match regardless of case.
TEST_F(VersionDisplay, TableOfUsEnglishGivesEveryKeyInOrder) {
  constexpr VersionString strings[] = {
      {"Comments", "Test build"},         {"ProductVersion", "3.0"},
      {"ProductName", "Sorvell"},         {"OriginalFilename", "sorvell"},
      {"LegalTrademarks", "Sorvell\xAE"}, {"LegalCopyright", "\xA9 Velmar"},
      {"InternalName", "wd10"},           {"FileVersion", "3.0.0.1"},
      {"FileDescription", "WD10 setup"},  {"CompanyName", "Velmar"},
  };
  const std::vector<char> block =
      SerialiseVersionBlock({{3, 0, 0, 1}, {3, 0, 0, 0}, 0x0409, 1252, strings});
  ListVersionInformation(WriteFile(block), memo);
  EXPECT_EQ(memo.Lines(), (QStringList{
                              QStringLiteral("VersionInfoSize = %1").arg(block.size()),
                              "CompanyName = Velmar",
                              "FileDescription = WD10 setup",
                              "FileVersion = 3.0.0.1",
                              "InternalName = wd10",
                              QStringLiteral("LegalCopyright = \u00A9 Velmar"),
                              "LegalTradeMarks = Sorvell\u00AE",
                              "OriginalFileName = sorvell",
                              "ProductName = Sorvell",
                              "ProductVersion = 3.0",
                              "Comments = Test build",
                          }));
}

// The button's handler looks at the running executable: this test program, which has no block.
TEST(VersionButton, ListsTheRunningProgramInTheConnectionLog) {
  TFrm_WD10 window;
  window.Button5Click();
  EXPECT_EQ(window.Memo1->Lines(), QStringList{"No version information found"});
}

}  // namespace
