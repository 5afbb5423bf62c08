#include <gtest/gtest.h>

#include "platform/VersionInfo.h"

namespace {

TEST(OwnVersionBlock, TheProgramCarriesItsVersionDataInTableDutch) {
  std::vector<char> block(GetFileVersionInfoSizeA(SORVELL_EXECUTABLE));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoA(SORVELL_EXECUTABLE, block));
  const auto query = [&](const std::string& path) -> std::optional<std::string> {
    const char* value = nullptr;
    std::uint32_t length = 0;
    if (!VerQueryValueA(block, path, &value, &length)) return std::nullopt;
    return std::string(value, length);
  };

  const std::string version("\1\0\0\0\4\0\x09\0", 8);
  EXPECT_EQ(query("\\"), version + version);  // file and product version
  EXPECT_EQ(query("\\VarFileInfo\\Translation"), std::string("\x13\x04\xE4\x04", 4));
  const std::pair<const char*, const char*> strings[] = {
      {"CompanyName", "Velmar"},
      {"FileDescription", "Sorvell"},
      {"FileVersion", "1.0.4.9"},
      {"InternalName", ""},
      {"LegalTrademarks", ""},
      {"OriginalFilename", ""},
      {"ProductName", "Sorvell"},
      {"ProductVersion", "1.0.0.0"},
      {"Comments", ""},
      {"LegalCopyright", "Copyright \xA9 Velmar"},  // code page 1252, as the table says
  };
  for (const auto& [key, value] : strings)
    EXPECT_EQ(query(std::string("StringFileInfo\\041304E4\\") + key), value) << key;
  EXPECT_EQ(query("StringFileInfo\\040904E4\\CompanyName"), std::nullopt);
}

}  // namespace
