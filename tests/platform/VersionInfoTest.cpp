#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "platform/VersionInfo.h"

namespace {

constexpr VersionString kStrings[] = {
    {"CompanyName", "Acme"}, {"LegalTrademarks", "none"}, {"Comments", ""}};
const std::vector<char> kBlockBytes =
    SerialiseVersionBlock({{2, 1, 0, 7}, {2, 1, 0, 0}, 0x0409, 1252, kStrings});
const std::string kBlock(kBlockBytes.begin(), kBlockBytes.end());

std::string LittleEndian32(std::uint32_t value) {
  return {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

std::string Header(std::size_t size) {
  return std::string(version_block::kMarker) + LittleEndian32(std::uint32_t(size));
}

std::optional<std::string> Query(std::span<const char> block, std::string_view path) {
  const char* value = nullptr;
  std::uint32_t length = 0;
  if (!VerQueryValueA(block, path, &value, &length)) return std::nullopt;
  // A text value must also read as a C string.
  EXPECT_EQ(value[length], '\0') << path;
  return std::string(value, length);
}

class VersionFile : public testing::Test {
 protected:
  QByteArray Write(const std::string& bytes) {
    QFile file(dir.filePath(QString::number(++files)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
    return QFile::encodeName(file.fileName());
  }
  QTemporaryDir dir;
  int files = 0;
};

// Markers that start no valid block come before the real one, and one with a size past the end
// of the file after it.
TEST_F(VersionFile, BlockAmongDecoysIsFoundCopiedAndQueried) {
  const std::string decoys = Header(0) + "junk" + Header(version_block::kMaxSize) + "junk" +
                             std::string(version_block::kMarker) + "\x40";
  const QByteArray name = Write(
      "\x7f"
      "ELF" +
      decoys + kBlock + Header(2 * kBlock.size()));
  ASSERT_EQ(GetFileVersionInfoSizeA(name.constData()), kBlock.size());
  std::vector<char> small(kBlock.size() - 1, 'x');
  EXPECT_FALSE(GetFileVersionInfoA(name.constData(), small));
  EXPECT_EQ(small, std::vector<char>(kBlock.size() - 1, 'x'));
  std::vector<char> copy(kBlock.size());
  ASSERT_TRUE(GetFileVersionInfoA(name.constData(), copy));
  EXPECT_EQ(std::string(copy.begin(), copy.end()), kBlock);

  EXPECT_EQ(Query(copy, "\\"), std::string("\2\0\1\0\0\0\7\0\2\0\1\0\0\0\0\0", 16));
  EXPECT_EQ(Query(copy, "\\VarFileInfo\\Translation"), std::string("\x09\x04\xE4\x04", 4));
  EXPECT_EQ(Query(copy, "\\StringFileInfo\\040904E4\\CompanyName"), "Acme");
  // As on Windows: the leading backslash is optional and case does not matter.
  EXPECT_EQ(Query(copy, "StringFileInfo\\040904e4\\LegalTradeMarks"), "none");
  EXPECT_EQ(Query(copy, "StringFileInfo\\040904E4\\Comments"), "");
  EXPECT_EQ(Query(copy, "StringFileInfo\\040904E4\\ProductName"), std::nullopt);
  EXPECT_EQ(Query(copy, "StringFileInfo\\041304E4\\CompanyName"), std::nullopt);
}

// A file is read a chunk at a time; the marker may straddle two chunks.
TEST_F(VersionFile, BlockIsFoundWhereverTheFileIsReadInPieces) {
  for (const std::size_t at :
       {version_block::kScanChunkSize - 1, version_block::kScanChunkSize - 8,
        version_block::kScanChunkSize, 2 * version_block::kScanChunkSize + 3})
    EXPECT_EQ(GetFileVersionInfoSizeA(Write(std::string(at, 'z') + kBlock)), kBlock.size()) << at;
}

TEST_F(VersionFile, FilesWithoutAValidBlockHaveSizeZeroAndCopyNothing) {
  const auto withSize = [](std::size_t size) {
    return std::string(kBlock).replace(16, 4, LittleEndian32(std::uint32_t(size)));
  };
  const auto blockOf = [](std::uint32_t pathLength, std::uint32_t valueLength, std::string rest) {
    const std::string entry = LittleEndian32(pathLength) + LittleEndian32(valueLength) + rest;
    return Header(version_block::kHeaderSize + entry.size()) + entry;
  };
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"no block", "no block here"},
      {"size below the header", withSize(19)},
      {"size past the end of the file", withSize(kBlock.size() + 1)},
      {"size above the cap",
       withSize(version_block::kMaxSize + 1) + std::string(version_block::kMaxSize, '\0')},
      {"block ends inside an entry", withSize(kBlock.size() - 1)},
      {"stray bytes after the last entry", blockOf(0, 0, std::string(2, '\0') + "abc")},
      {"lengths that wrap around", blockOf(0xFFFFFFFF, 0xFFFFFFFF, std::string(2, '\0'))},
      {"path not terminated", blockOf(1, 0, std::string("ab\0", 3))},
      {"value not terminated", blockOf(0, 1, std::string("\0ab", 3))},
  };
  std::vector<QByteArray> names{QFile::encodeName(dir.filePath("missing")),
                                QFile::encodeName(dir.path()), "/dev/zero"};
  for (const auto& [what, bytes] : cases) {
    names.push_back(Write(bytes));
    EXPECT_FALSE(Query(bytes, "StringFileInfo\\040904E4\\CompanyName")) << what;
  }
  std::vector<char> data(64, 'x');
  for (const QByteArray& name : names) {
    EXPECT_EQ(GetFileVersionInfoSizeA(name.constData()), 0u) << name.constData();
    EXPECT_FALSE(GetFileVersionInfoA(name.constData(), data));
  }
  EXPECT_EQ(data, std::vector<char>(64, 'x'));
}

// Whatever a buffer holds, a query reads nothing outside it (ASan watches in CI).
TEST(VersionQuery, StaysInsideDamagedAndCutBlocks) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 5000; ++round) {
    std::vector<char> damaged = kBlockBytes;
    for (int flips = round % 5; flips > 0; --flips)
      damaged[random() % damaged.size()] = char(random());
    const std::span<const char> buffer(damaged.data(),
                                       random() % 2 ? damaged.size() : random() % damaged.size());
    for (const char* path :
         {"\\", "VarFileInfo\\Translation", "StringFileInfo\\040904E4\\Comments"}) {
      const char* value = nullptr;
      std::uint32_t length = 0;
      if (!VerQueryValueA(buffer, path, &value, &length)) continue;
      ASSERT_TRUE(value >= buffer.data() && value + length < buffer.data() + buffer.size());
      ASSERT_EQ(value[length], '\0');
    }
  }
}

}  // namespace
