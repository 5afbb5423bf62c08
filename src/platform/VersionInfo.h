// Our stand-in for the Windows version-information calls. A version block is a self-describing
// run of bytes that may sit anywhere inside a file (the build embeds one in the sorvell
// executable); the calls find it in a file, copy it out and look values up in the copy.
//
// Block layout, numbers little-endian:
//   marker (16 bytes) | block size (uint32, marker included) | entries ...
//   entry: path length (uint32) | value length (uint32) | path | 0 | value | 0
// A path is a sub-block path without its leading backslash: "" is the root ("\") and holds the
// fixed file and product versions (eight uint16, most significant part first);
// "VarFileInfo\Translation" holds language and code page (two uint16);
// "StringFileInfo\041304E4\CompanyName" holds one text of string table 041304E4. Texts are
// 8-bit, in the code page of their table.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace version_block {

inline constexpr std::string_view kMarker{"\x7fSorvellVersion\x1a", 16};
inline constexpr std::size_t kHeaderSize = kMarker.size() + 4;
inline constexpr std::size_t kEntryHeaderSize = 8;
// Windows caps a version resource at 64 KiB; the same cap bounds what one lookup reads.
inline constexpr std::uint32_t kMaxSize = 64 * 1024;
// A file is searched this many bytes at a time, so a huge file is never held in memory.
inline constexpr std::size_t kScanChunkSize = 1024 * 1024;
inline constexpr std::string_view kTranslationPath = "VarFileInfo\\Translation";

}  // namespace version_block

struct VersionString {
  std::string_view key;
  std::string_view value;
};

struct VersionBlockContents {
  std::array<std::uint16_t, 4> fileVersion;
  std::array<std::uint16_t, 4> productVersion;
  std::uint16_t language;
  std::uint16_t codePage;
  // The one string table, named after language and code page ("041304E4").
  std::span<const VersionString> strings;
};

namespace version_block {

constexpr void AppendUint16(std::vector<char>& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

constexpr void AppendUint32(std::vector<char>& out, std::uint32_t value) {
  AppendUint16(out, static_cast<std::uint16_t>(value & 0xFFFF));
  AppendUint16(out, static_cast<std::uint16_t>(value >> 16));
}

constexpr void AppendEntry(std::vector<char>& out, std::string_view path,
                           const std::vector<char>& value) {
  AppendUint32(out, static_cast<std::uint32_t>(path.size()));
  AppendUint32(out, static_cast<std::uint32_t>(value.size()));
  out.insert(out.end(), path.begin(), path.end());
  out.push_back('\0');
  out.insert(out.end(), value.begin(), value.end());
  out.push_back('\0');
}

constexpr std::string StringTableName(std::uint16_t language, std::uint16_t codePage) {
  constexpr std::string_view digits = "0123456789ABCDEF";
  std::string name;
  for (const std::uint16_t part : {language, codePage})
    for (int shift = 12; shift >= 0; shift -= 4) name += digits[(part >> shift) & 0xF];
  return name;
}

}  // namespace version_block

// The bytes of a block; constexpr so that the build can place the program's own block in the
// executable as plain data.
constexpr std::vector<char> SerialiseVersionBlock(const VersionBlockContents& contents) {
  using namespace version_block;
  std::vector<char> block(kMarker.begin(), kMarker.end());
  AppendUint32(block, 0);  // the size, filled in below

  std::vector<char> fixed;
  for (const auto& version : {contents.fileVersion, contents.productVersion})
    for (const std::uint16_t part : version) AppendUint16(fixed, part);
  AppendEntry(block, "", fixed);

  std::vector<char> translation;
  AppendUint16(translation, contents.language);
  AppendUint16(translation, contents.codePage);
  AppendEntry(block, kTranslationPath, translation);

  const std::string table =
      "StringFileInfo\\" + StringTableName(contents.language, contents.codePage) + "\\";
  for (const VersionString& string : contents.strings)
    AppendEntry(block, table + std::string(string.key),
                std::vector<char>(string.value.begin(), string.value.end()));

  std::vector<char> size;
  AppendUint32(size, static_cast<std::uint32_t>(block.size()));
  std::copy(size.begin(), size.end(), block.begin() + kMarker.size());
  return block;
}

// The same bytes as an array of their exact size, for a block placed in static storage:
// VersionBlockBytes<SerialiseVersionBlock(contents).size()>(contents).
template <std::size_t Size>
constexpr std::array<char, Size> VersionBlockBytes(const VersionBlockContents& contents) {
  const std::vector<char> block = SerialiseVersionBlock(contents);
  std::array<char, Size> bytes{};
  std::copy(block.begin(), block.end(), bytes.begin());
  return bytes;
}

// Size of the first well-formed version block in the file; 0 when the file has none, is not a
// regular file or cannot be read.
std::uint32_t VersionBlockSize(const char* fileName);

// Copies that block to the start of data. False, with data untouched, when there is no block or
// it does not fit (the file may have changed since its size was asked).
bool CopyVersionBlock(const char* fileName, std::span<char> data);

// Looks a sub-block path up in a block copied by CopyVersionBlock; the leading backslash is
// optional and letters match regardless of case, as on Windows. On success value points into
// block at length bytes, which are always followed by a zero, so a text value can be read as a
// zero-terminated string. Whatever block holds, nothing outside it is read.
bool FindVersionValue(std::span<const char> block, std::string_view subBlock, const char** value,
                      std::uint32_t* length);
