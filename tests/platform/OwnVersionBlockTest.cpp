#include <gtest/gtest.h>

#include "WD10/TFrm_WD10Version.h"
#include "platform/TMemo.h"
#include "platform/VersionInfo.h"

namespace {

std::optional<std::string> Query(std::span<const char> block, std::string_view path) {
  const char* value = nullptr;
  std::uint32_t length = 0;
  if (!VerQueryValueA(block, path, &value, &length)) return std::nullopt;
  return std::string(value, length);
}

TEST(OwnVersionBlock, TheProgramCarriesItsVersionDataInTableDutch) {
  const std::uint32_t size = GetFileVersionInfoSizeA(SORVELL_EXECUTABLE);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(SORVELL_EXECUTABLE, block));

  const std::string version("\1\0\0\0\4\0\x09\0", 8);
  EXPECT_EQ(Query(block, "\\"), version + version);
  EXPECT_EQ(Query(block, "\\VarFileInfo\\Translation"), std::string("\x13\x04\xE4\x04", 4));
  const std::pair<const char*, const char*> strings[] = {
      {"CompanyName", "Velmar"},  {"FileDescription", "Sorvell"}, {"FileVersion", "1.0.4.9"},
      {"InternalName", ""},       {"LegalTrademarks", ""},        {"OriginalFilename", ""},
      {"ProductName", "Sorvell"}, {"ProductVersion", "1.0.0.0"},  {"Comments", ""},
  };
  for (const auto& [key, value] : strings)
    EXPECT_EQ(Query(block, std::string("StringFileInfo\\041304E4\\") + key), value) << key;
  EXPECT_EQ(Query(block, "StringFileInfo\\041304E4\\LegalCopyright"), "Copyright \xA9 Velmar");
  EXPECT_EQ(Query(block, "StringFileInfo\\040904E4\\CompanyName"), std::nullopt);
}

// The display asks for table 040904E4, which the program does not have.
TEST(OwnVersionBlock, TheDisplayShowsOnlyTheSize) {
  TMemo memo;
  ListVersionInformation(QString::fromLocal8Bit(SORVELL_EXECUTABLE), memo);
  EXPECT_EQ(
      memo.Lines(),
      QStringList{
          QStringLiteral("VersionInfoSize = %1").arg(GetFileVersionInfoSizeA(SORVELL_EXECUTABLE))});
}

}  // namespace
