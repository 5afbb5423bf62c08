// Version blocks found in files by the version display: the program's own block is read by
// --version; here, blocks in other places and damaged ones.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/LogPane.h"
#include "platform/VersionInfo.h"
#include "window/VersionListing.h"

namespace {

using version_block::kMarker;
using version_block::kScanChunkSize;

// Keys as resource compilers spell them; the display asks for "LegalTradeMarks" and
// "OriginalFileName", which match regardless of case, and lists the keys in its own order.
constexpr VersionString kStrings[] = {{"Comments", "Test build"},
                                      {"OriginalFilename", "sorvell"},
                                      {"LegalTrademarks", "Sorvell\xAE"},
                                      {"CompanyName", ""}};
const std::vector<char> kEnglish =
    SerialiseVersionBlock({{3, 0, 0, 1}, {3, 0, 0, 0}, 0x0409, 1252, kStrings});
const std::string kBlock(kEnglish.begin(), kEnglish.end());
const QStringList kEnglishLines = {QString("VersionInfoSize = %1").arg(kBlock.size()),
                                   "CompanyName = ", "LegalTradeMarks = Sorvell\u00AE",
                                   "OriginalFileName = sorvell", "Comments = Test build"};
const QStringList kNoBlock = {"No version information found"};

std::string Size(std::size_t size) {
  const auto value = std::uint32_t(size);
  return {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

class VersionFile : public testing::Test {
 protected:
  QStringList Display(const std::string& bytes) {
    QFile file(dir.filePath(QString::number(++files)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
    file.close();
    LogPane memo;
    ListVersionInformation(file.fileName(), memo);
    return memo.Lines();
  }
  QTemporaryDir dir;
  int files = 0;
};

// Markers that start no valid block may come before the real one, and one that claims more than
// the file holds after it; a file is read a chunk at a time, and the marker may straddle two.
TEST_F(VersionFile, TableUsEnglishIsListedWhereverItsBlockLies) {
  const std::string decoys = std::string(kMarker) + Size(0) + "junk" + std::string(kMarker) +
                             Size(version_block::kMaxSize) + std::string(kMarker) + "\x40";
  for (const std::size_t at : {std::size_t(3), kScanChunkSize - 1, kScanChunkSize - 8,
                               kScanChunkSize, 2 * kScanChunkSize + 3})
    EXPECT_EQ(Display(std::string(at, 'z') + kBlock + std::string(kMarker) + Size(999)),
              kEnglishLines)
        << at;
  EXPECT_EQ(Display("\177ELF" + decoys + kBlock), kEnglishLines);
  // The program's own block has table 041304E4 only, so just its size shows.
  const std::vector<char> dutch =
      SerialiseVersionBlock({{3, 0, 0, 1}, {3, 0, 0, 0}, 0x0413, 1252, kStrings});
  EXPECT_EQ(Display({dutch.begin(), dutch.end()}),
            QStringList{QString("VersionInfoSize = %1").arg(dutch.size())});
}

// A damaged block is none: nothing listed, nothing read past its end; a file that cannot be
// read has none either.
TEST_F(VersionFile, FilesWithoutAValidBlockHaveSizeZeroAndCopyNothing) {
  const auto withSize = [](std::size_t size) {
    return std::string(kBlock).replace(16, 4, Size(size));
  };
  const auto blockOf = [](std::uint32_t pathLength, std::uint32_t valueLength, std::string rest) {
    const std::string entry = Size(pathLength) + Size(valueLength) + rest;
    return std::string(kMarker) + Size(version_block::kHeaderSize + entry.size()) + entry;
  };
  const std::pair<const char*, std::string> cases[] = {
      {"no block", "no block here"},
      {"size past the end of the file", withSize(kBlock.size() + 1)},
      {"size above the cap",
       withSize(version_block::kMaxSize + 1) + std::string(version_block::kMaxSize, '\0')},
      {"lengths that wrap around", blockOf(0xFFFFFFFF, 0xFFFFFFFF, std::string(2, '\0'))},
      {"value not terminated", blockOf(0, 1, std::string("\0ab", 3))},
  };
  const char* value = nullptr;
  std::uint32_t length = 0;
  for (const auto& [what, bytes] : cases) {
    EXPECT_EQ(Display(bytes), kNoBlock) << what;
    EXPECT_FALSE(FindVersionValue(bytes, "StringFileInfo\\040904E4\\Comments", &value, &length));
  }
  std::vector<char> data(64, 'x');
  for (const QString& name : {dir.filePath("missing"), dir.path(), QString("/dev/zero")}) {
    EXPECT_EQ(VersionBlockSize(QFile::encodeName(name).constData()), 0u);
    EXPECT_FALSE(CopyVersionBlock(QFile::encodeName(name).constData(), data));
  }
  EXPECT_EQ(data, std::vector<char>(64, 'x'));
}

}  // namespace
