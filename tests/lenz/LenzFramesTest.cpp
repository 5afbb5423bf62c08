#include "lenz/LenzFrames.h"

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(const char* spacedHex) {
  return QByteArray::fromHex(spacedHex);
}

TEST(LenzFrame, HeaderCountsTheDataBytesAndTheCheckByteIsTheirXor) {
  TLenzFrameTable table;
  table.fill(0x5A);
  table[0] = 0x80;
  EXPECT_EQ(BuildLenzFrame(table), Bytes("80 80"));
  EXPECT_EQ(table[kLenzRunningXorEntry], 0x80);

  table = {0x52, 0x01, 0x88};
  EXPECT_EQ(BuildLenzFrame(table), Bytes("52 01 88 DB"));
  table = {0x21, 0x81};
  EXPECT_EQ(BuildLenzFrame(table), Bytes("21 81 A0"));

  // Fifteen data bytes reach entry 15; entry 19 still only holds the check byte. Entries wider
  // than a byte send their low 8 bits.
  table = {0x5F, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0x10F, 0x77, 0x77, 0x77, 0x77};
  const QByteArray frame = BuildLenzFrame(table);
  ASSERT_EQ(frame.size(), 17);
  EXPECT_EQ(frame.mid(14), Bytes("0E 0F 5F"));
}

// One receive event: the new bytes are appended, the frames at the front are cut.
LenzParse Receive(QByteArray& buffer, const char* hex) {
  buffer += hex;
  LenzParse parsed = ParseLenzBuffer(buffer);
  buffer = parsed.rest;
  return parsed;
}

// Frames are logged byte by byte with a trailing blank; an incomplete frame waits from its
// header for the next event, and half a byte is not taken.
TEST(LenzReceiver, CompleteFramesAreLoggedAndTheRestWaits) {
  QByteArray buffer;
  EXPECT_EQ(Receive(buffer, "8080").lines, QStringList{"80 80 "});
  EXPECT_EQ(Receive(buffer, "610160420189CA6101").lines,
            (QStringList{"61 01 60 ", "42 01 89 CA "}));
  EXPECT_EQ(buffer, "6101");
  EXPECT_EQ(Receive(buffer, "60").lines, QStringList{"61 01 60 "});
  EXPECT_TRUE(buffer.isEmpty());
  EXPECT_TRUE(Receive(buffer, "4").lines.isEmpty());
  EXPECT_TRUE(Receive(buffer, "2").lines.isEmpty());
  EXPECT_EQ(buffer, "42");
}

}  // namespace
