#include "FuzzCheck.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

void Require(bool holds, const char* expectation) {
  if (holds) return;
  std::fprintf(stderr, "fuzz expectation failed: %s\n", expectation);
  std::abort();
}

std::vector<QByteArray> ReceiveEvents(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kLongestEvent = 64;
  std::vector<QByteArray> events;
  std::size_t at = 0;
  while (at < size) {
    const std::size_t length = std::min<std::size_t>(1 + data[at] % kLongestEvent, size - at - 1);
    ++at;
    if (length == 0) break;
    events.emplace_back(reinterpret_cast<const char*>(data + at), static_cast<qsizetype>(length));
    at += length;
  }
  return events;
}
