#include <gtest/gtest.h>

#include "FrameSplitter.h"

namespace {

// A rule in the way of the Lenz header: the low nibble counts the data bytes.
qsizetype HeaderCounted(const QByteArray& pending) {
  return (static_cast<unsigned char>(pending[0]) & 0x0F) + 2;
}

// A rule that needs more than the first byte: a text line up to CR.
qsizetype UpToCarriageReturn(const QByteArray& pending) {
  const qsizetype end = pending.indexOf('\r');
  return end < 0 ? 0 : end + 1;
}

std::vector<QByteArray> ByteByByte(FrameSplitter& splitter, const QByteArray& stream) {
  std::vector<QByteArray> frames;
  for (char byte : stream)
    for (QByteArray& frame : splitter.Take(QByteArray(1, byte))) frames.push_back(frame);
  return frames;
}

TEST(FrameSplitter, FramesDoNotDependOnHowTheBytesArrive) {
  const QByteArray stream = QByteArray::fromHex("2181A0 5201 88DB 8080 420189CA");
  const std::vector<QByteArray> expected = {
      QByteArray::fromHex("2181A0"), QByteArray::fromHex("520188DB"), QByteArray::fromHex("8080"),
      QByteArray::fromHex("420189CA")};

  FrameSplitter whole(HeaderCounted);
  EXPECT_EQ(whole.Take(stream), expected);
  EXPECT_TRUE(whole.Pending().isEmpty());

  FrameSplitter single(HeaderCounted);
  EXPECT_EQ(ByteByByte(single, stream), expected);
}

TEST(FrameSplitter, KeepsAnUnfinishedFrameForTheNextRead) {
  FrameSplitter splitter(HeaderCounted);
  EXPECT_EQ(splitter.Take(QByteArray::fromHex("610160 6101")),
            std::vector<QByteArray>{QByteArray::fromHex("610160")});
  EXPECT_EQ(splitter.Pending(), QByteArray::fromHex("6101"));
  EXPECT_EQ(splitter.Take(QByteArray::fromHex("60")),
            std::vector<QByteArray>{QByteArray::fromHex("610160")});
  EXPECT_TRUE(splitter.Pending().isEmpty());
}

TEST(FrameSplitter, WaitsWhileTheRuleCannotTellTheLength) {
  FrameSplitter splitter(UpToCarriageReturn);
  EXPECT_TRUE(splitter.Take("xSo").empty());
  EXPECT_EQ(splitter.Take("1\rxb"), std::vector<QByteArray>{"xSo1\r"});
  EXPECT_EQ(splitter.Pending(), "xb");
}

}  // namespace
