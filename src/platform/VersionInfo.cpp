#include "platform/VersionInfo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>

namespace {

using namespace version_block;

std::uint32_t ReadUint32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return value;
}

struct Entry {
  std::string_view path;
  std::string_view value;
};

struct ParsedBlock {
  std::uint32_t size;
  std::vector<Entry> entries;
};

// The block at the start of bytes (which may run on past it), or nothing when the bytes there
// are not a well-formed block. Every length is checked against what is left before it is
// used, in 64-bit arithmetic so that no sum can wrap.
std::optional<ParsedBlock> ParseBlock(std::string_view bytes) {
  if (bytes.size() < kHeaderSize || !bytes.starts_with(kMarker)) return std::nullopt;
  ParsedBlock parsed{ReadUint32(bytes, kMarker.size()), {}};
  if (parsed.size < kHeaderSize || parsed.size > kMaxSize || parsed.size > bytes.size())
    return std::nullopt;

  const std::string_view block = bytes.substr(0, parsed.size);
  std::size_t at = kHeaderSize;
  while (at < block.size()) {
    if (block.size() - at < kEntryHeaderSize) return std::nullopt;
    const std::uint64_t pathLength = ReadUint32(block, at);
    const std::uint64_t valueLength = ReadUint32(block, at + 4);
    at += kEntryHeaderSize;
    if (pathLength + 1 + valueLength + 1 > block.size() - at) return std::nullopt;
    const std::size_t valueAt = at + pathLength + 1;
    const std::size_t nextAt = valueAt + valueLength + 1;
    if (block[valueAt - 1] != '\0' || block[nextAt - 1] != '\0') return std::nullopt;
    parsed.entries.push_back({block.substr(at, pathLength), block.substr(valueAt, valueLength)});
    at = nextAt;
  }
  return parsed;
}

bool SamePath(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

class ReadOnlyFile {
 public:
  // Only regular files: a device or a pipe could block the caller or never end.
  explicit ReadOnlyFile(const char* fileName)
      : fd_(::open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
    struct stat status {};
    if (fd_ >= 0 && ::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode)) size_ = status.st_size;
  }
  ~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  off_t Size() const { return size_; }

  // Up to count bytes at offset; fewer only at the end of the file or on a read error.
  std::string ReadAt(off_t offset, std::size_t count) const {
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
      const ssize_t n = ::pread(fd_, bytes.data() + done, count - done, offset + off_t(done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += std::size_t(n);
    }
    bytes.resize(done);
    return bytes;
  }

 private:
  int fd_;
  off_t size_ = 0;
};

// The first well-formed block in the file. The marker may also occur in the file by chance (the
// code that searches for it holds a copy), so a marker that does not start a valid block is
// passed over and the search goes on.
std::optional<std::string> FindVersionBlock(const char* fileName) {
  const ReadOnlyFile file(fileName);
  const std::boyer_moore_horspool_searcher markerSearcher(kMarker.begin(), kMarker.end());
  // Each window keeps the last bytes of the one before, so a marker cut by a chunk border is
  // still seen whole.
  std::string window;
  off_t windowStart = 0;
  for (off_t next = 0; next < file.Size(); next += off_t(kScanChunkSize)) {
    const std::string chunk = file.ReadAt(next, kScanChunkSize);
    window += chunk;
    for (auto hit = std::search(window.begin(), window.end(), markerSearcher); hit != window.end();
         hit = std::search(hit + 1, window.end(), markerSearcher)) {
      const off_t markerAt = windowStart + (hit - window.begin());
      std::string candidate = file.ReadAt(markerAt, kMaxSize);
      if (const std::optional<ParsedBlock> parsed = ParseBlock(candidate)) {
        candidate.resize(parsed->size);
        return candidate;
      }
    }
    if (chunk.size() < kScanChunkSize) break;  // the end, or a read error: nothing follows
    const std::size_t kept = std::min(window.size(), kMarker.size() - 1);
    windowStart += off_t(window.size() - kept);
    window.erase(0, window.size() - kept);
  }
  return std::nullopt;
}

}  // namespace

std::uint32_t VersionBlockSize(const char* fileName) {
  const std::optional<std::string> block = FindVersionBlock(fileName);
  return block ? std::uint32_t(block->size()) : 0;
}

bool CopyVersionBlock(const char* fileName, std::span<char> data) {
  const std::optional<std::string> block = FindVersionBlock(fileName);
  if (!block || block->size() > data.size()) return false;
  std::ranges::copy(*block, data.begin());
  return true;
}

bool FindVersionValue(std::span<const char> block, std::string_view subBlock, const char** value,
                      std::uint32_t* length) {
  const std::optional<ParsedBlock> parsed = ParseBlock({block.data(), block.size()});
  if (!parsed) return false;
  while (subBlock.starts_with('\\')) subBlock.remove_prefix(1);
  const auto entry = std::ranges::find_if(
      parsed->entries, [&](const Entry& candidate) { return SamePath(candidate.path, subBlock); });
  if (entry == parsed->entries.end()) return false;
  *value = entry->value.data();
  *length = std::uint32_t(entry->value.size());
  return true;
}
