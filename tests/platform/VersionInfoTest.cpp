#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "platform/VersionInfo.h"

namespace {

constexpr VersionString kStrings[] = {
    {"CompanyName", "Acme"},
    {"LegalTrademarks", "none"},
    {"Comments", ""},
};
constexpr VersionBlockContents kContents{{2, 1, 0, 7}, {2, 1, 0, 0}, 0x0409, 1252, kStrings};

std::string Block() {
  const std::vector<char> block = SerialiseVersionBlock(kContents);
  return {block.begin(), block.end()};
}

std::string LittleEndian32(std::uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += char((value >> (8 * i)) & 0xFF);
  return bytes;
}

std::string Header(std::uint32_t size) {
  return std::string(version_block::kMarker) + LittleEndian32(size);
}

class VersionFile : public testing::Test {
 protected:
  QByteArray Write(const std::string& bytes) {
    const QString path = dir.filePath(QStringLiteral("file%1").arg(++files));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
    return QFile::encodeName(path);
  }

  std::optional<std::string> Query(std::span<const char> block, std::string_view path) {
    const char* value = nullptr;
    std::uint32_t length = 0;
    if (!VerQueryValueA(block, path, &value, &length)) return std::nullopt;
    return std::string(value, length);
  }

  QTemporaryDir dir;
  int files = 0;
};

TEST_F(VersionFile, BlockInsideAFileIsFoundCopiedAndQueried) {
  const std::string block = Block();
  const QByteArray name = Write(
      "\x7f"
      "ELF and other bytes" +
      block + "trailing bytes");
  ASSERT_EQ(GetFileVersionInfoSizeA(name.constData()), block.size());

  std::vector<char> copy(block.size());
  ASSERT_TRUE(GetFileVersionInfoA(name.constData(), copy));
  EXPECT_EQ(std::string(copy.begin(), copy.end()), block);

  EXPECT_EQ(Query(copy, "\\"), std::string("\2\0\1\0\0\0\7\0\2\0\1\0\0\0\0\0", 16));
  EXPECT_EQ(Query(copy, "\\VarFileInfo\\Translation"), std::string("\x09\x04\xE4\x04", 4));
  EXPECT_EQ(Query(copy, "\\StringFileInfo\\040904E4\\CompanyName"), "Acme");
  // As on Windows: the leading backslash is optional and case does not matter.
  EXPECT_EQ(Query(copy, "StringFileInfo\\040904e4\\LegalTradeMarks"), "none");
  EXPECT_EQ(Query(copy, "StringFileInfo\\040904E4\\Comments"), "");
  EXPECT_EQ(Query(copy, "StringFileInfo\\040904E4\\ProductName"), std::nullopt);
  EXPECT_EQ(Query(copy, "StringFileInfo\\041304E4\\CompanyName"), std::nullopt);

  const char* value = nullptr;
  std::uint32_t length = 0;
  ASSERT_TRUE(VerQueryValueA(copy, "StringFileInfo\\040904E4\\CompanyName", &value, &length));
  EXPECT_EQ(value[length], '\0');  // a text value reads as a C string
}

TEST_F(VersionFile, FilesWithoutABlockHaveSizeZeroAndCopyNothing) {
  std::vector<char> data(64, 'x');
  for (const QByteArray& name :
       {Write(""), Write("no block here"), QFile::encodeName(dir.filePath("missing")),
        QFile::encodeName(dir.path()), QByteArray("/dev/zero")}) {
    SCOPED_TRACE(name.constData());
    EXPECT_EQ(GetFileVersionInfoSizeA(name.constData()), 0u);
    EXPECT_FALSE(GetFileVersionInfoA(name.constData(), data));
  }
  EXPECT_EQ(data, std::vector<char>(64, 'x'));
}

TEST_F(VersionFile, BlockIsFoundWhereverTheFileIsReadInPieces) {
  const std::string block = Block();
  for (const std::size_t markerAt :
       {version_block::kScanChunkSize - 1, version_block::kScanChunkSize - 8,
        version_block::kScanChunkSize, 2 * version_block::kScanChunkSize + 3}) {
    SCOPED_TRACE(markerAt);
    EXPECT_EQ(GetFileVersionInfoSizeA(Write(std::string(markerAt, 'z') + block).constData()),
              block.size());
  }
}

TEST_F(VersionFile, MarkersThatStartNoValidBlockArePassedOver) {
  const std::string block = Block();
  const std::string decoys = Header(0) + "junk" + Header(version_block::kMaxSize) + "junk" +
                             std::string(version_block::kMarker) + "\x40";
  const QByteArray name = Write(decoys + block + Header(2 * block.size()));
  EXPECT_EQ(GetFileVersionInfoSizeA(name.constData()), block.size());
  std::vector<char> copy(block.size());
  ASSERT_TRUE(GetFileVersionInfoA(name.constData(), copy));
  EXPECT_EQ(Query(copy, "StringFileInfo\\040904E4\\CompanyName"), "Acme");
}

TEST_F(VersionFile, MalformedBlocksAreNoBlocks) {
  const std::string block = Block();
  const auto withSize = [](std::string bytes, std::uint32_t size) {
    return bytes.replace(version_block::kMarker.size(), 4, LittleEndian32(size));
  };
  const auto entry = [](std::uint32_t pathLength, std::uint32_t valueLength, std::string rest) {
    return LittleEndian32(pathLength) + LittleEndian32(valueLength) + rest;
  };
  const auto blockOf = [&](const std::string& entries) {
    return Header(std::uint32_t(version_block::kHeaderSize + entries.size())) + entries;
  };
  const std::pair<const char*, std::string> cases[] = {
      {"size below the header", withSize(block, 19)},
      {"size past the end of the file", withSize(block, std::uint32_t(block.size() + 1))},
      {"size above the cap",
       withSize(block + std::string(version_block::kMaxSize, '\0'), version_block::kMaxSize + 1)},
      {"block ends inside an entry", withSize(block, std::uint32_t(block.size() - 1))},
      {"stray bytes after the last entry", blockOf(entry(0, 0, std::string(2, '\0')) + "abc")},
      {"lengths that wrap around", blockOf(entry(0xFFFFFFFF, 0xFFFFFFFF, std::string(2, '\0')))},
      {"path not terminated", blockOf(entry(1, 0, std::string("ab\0", 3)))},
      {"value not terminated", blockOf(entry(0, 1, std::string("\0ab", 3)))},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    EXPECT_EQ(GetFileVersionInfoSizeA(Write(bytes).constData()), 0u);
    EXPECT_FALSE(Query(bytes, "StringFileInfo\\040904E4\\CompanyName"));
  }
}

TEST_F(VersionFile, CopyIntoTooSmallABufferFailsAndLeavesItAlone) {
  const std::string block = Block();
  const QByteArray name = Write(block);
  std::vector<char> small(block.size() - 1, 'x');
  EXPECT_FALSE(GetFileVersionInfoA(name.constData(), small));
  EXPECT_EQ(small, std::vector<char>(block.size() - 1, 'x'));
}

// Whatever a buffer holds, a query reads nothing outside it and every value found lies inside
// it with its terminating zero.
TEST(VersionQuery, StaysInsideDamagedAndCutBlocks) {
  const std::vector<char> block = SerialiseVersionBlock(kContents);
  const char* const paths[] = {"\\", "VarFileInfo\\Translation",
                               "StringFileInfo\\040904E4\\Comments", "StringFileInfo\\x\\y"};
  const auto check = [&](std::span<const char> buffer) {
    for (const char* path : paths) {
      const char* value = nullptr;
      std::uint32_t length = 0;
      if (!VerQueryValueA(buffer, path, &value, &length)) continue;
      ASSERT_GE(value, buffer.data());
      ASSERT_LT(value + length, buffer.data() + buffer.size());
      ASSERT_EQ(value[length], '\0');
    }
  };
  for (std::size_t size = 0; size <= block.size(); ++size) check({block.data(), size});

  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> position(0, block.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 5000; ++round) {
    std::vector<char> damaged = block;
    for (int flips = 1 + round % 4; flips > 0; --flips)
      damaged[position(random)] = char(byte(random));
    check(damaged);
  }
}

}  // namespace
