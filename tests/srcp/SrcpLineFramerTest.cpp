#include "srcp/SrcpLineFramer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A line of the longest length passes, however it is cut; a longer one is dropped whole
// without being kept, and the line after it is seen.
TEST(LineFramer, KeepsNoMoreThanTheLongestLineAndPicksUpAfterIt) {
  constexpr qsizetype kLongest = SrcpLineFramer::kLongestLine;
  SrcpLineFramer framer;
  std::vector<QByteArray> lines;
  const auto feed = [&](const QByteArray& bytes) {
    framer.Feed(bytes, [&](const QByteArray& line) { lines.push_back(line); });
  };

  feed(QByteArray(kLongest - 1, 'a'));
  feed("b");
  feed("\n" + QByteArray(kLongest, 'c'));
  feed("c");
  EXPECT_TRUE(framer.Pending().isEmpty());
  feed("c\n1700000000.100 416 ERR");
  feed("OR no data\r\n");

  EXPECT_EQ(lines, (std::vector<QByteArray>{QByteArray(kLongest - 1, 'a') + 'b',
                                            "1700000000.100 416 ERROR no data"}));
  EXPECT_EQ(framer.LineCount(), 3);
}

}  // namespace
