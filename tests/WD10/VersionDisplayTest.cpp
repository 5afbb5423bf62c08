#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "WD10/TFrm_WD10.h"
#include "WD10/TFrm_WD10Version.h"
#include "platform/TMemo.h"
#include "platform/VersionInfo.h"

namespace {

// The display asks for table 040904E4 only, with "LegalTradeMarks" and "OriginalFileName"
// spelt as the resource compilers do not: they match regardless of case. The program's own
// block has table 041304E4, so only its size shows.
TEST(VersionDisplay, ListsTheKeysOfTableUsEnglishInOrder) {
  constexpr VersionString strings[] = {
      {"Comments", "Test build"},         {"ProductVersion", "3.0"},
      {"ProductName", "Sorvell"},         {"OriginalFilename", "sorvell"},
      {"LegalTrademarks", "Sorvell\xAE"}, {"LegalCopyright", "\xA9 Velmar"},
      {"InternalName", "wd10"},           {"FileVersion", "3.0.0.1"},
      {"FileDescription", "WD10 setup"},  {"CompanyName", "Velmar"},
  };
  const std::vector<char> english =
      SerialiseVersionBlock({{3, 0, 0, 1}, {3, 0, 0, 0}, 0x0409, 1252, strings});
  const std::vector<char> dutch =
      SerialiseVersionBlock({{3, 0, 0, 1}, {3, 0, 0, 0}, 0x0413, 1252, strings});
  const QString size = "VersionInfoSize = %1";
  const std::pair<std::vector<char>, QStringList> cases[] = {
      {{}, {"No version information found"}},
      {dutch, {size.arg(dutch.size())}},
      {english,
       {size.arg(english.size()), "CompanyName = Velmar", "FileDescription = WD10 setup",
        "FileVersion = 3.0.0.1", "InternalName = wd10", "LegalCopyright = \u00A9 Velmar",
        "LegalTradeMarks = Sorvell\u00AE", "OriginalFileName = sorvell", "ProductName = Sorvell",
        "ProductVersion = 3.0", "Comments = Test build"}},
  };
  QTemporaryDir dir;
  for (const auto& [block, lines] : cases) {
    QFile file(dir.filePath("program"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "\x7f"
        "ELF code before the block");
    file.write(block.data(), qint64(block.size()));
    file.close();
    TMemo memo;
    ListVersionInformation(file.fileName(), memo);
    EXPECT_EQ(memo.Lines(), lines);
  }
}

// The button's handler looks at the running executable: this test program, which has no block.
TEST(VersionDisplay, ButtonListsTheRunningProgramInTheConnectionLog) {
  TFrm_WD10 window;
  window.Button5Click();
  EXPECT_EQ(window.Memo1->Lines(), QStringList{"No version information found"});
}

}  // namespace
