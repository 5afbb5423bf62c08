#include "lenz/LenzFrames.h"

#include <gtest/gtest.h>

namespace {

// Fifteen data bytes reach entry 15; entry 19 still only holds the check byte. Entries wider
// than a byte send their low 8 bits.
TEST(LenzFrame, HeaderCountsTheDataBytesAndTheCheckByteIsTheirXor) {
  LenzFrameBuffer table = {0x5F, 1,  2,  3,  4,  5,     6,    7,    8,    9,
                          10,   11, 12, 13, 14, 0x10F, 0x77, 0x77, 0x77, 0x77};
  const QByteArray frame = BuildLenzFrame(table);
  ASSERT_EQ(frame.size(), 17);
  EXPECT_EQ(frame.mid(14), QByteArray::fromHex("0E 0F 5F"));
}

// Frames are logged byte by byte with a trailing blank; an incomplete frame waits from its
// header for the next receive event, and half a byte is not taken.
TEST(LenzReceiver, CompleteFramesAreLoggedAndTheRestWaits) {
  QByteArray buffer;
  const auto receive = [&](const char* hex) {
    const LenzParse parsed = ParseLenzBuffer(buffer + hex);
    buffer = parsed.rest;
    return parsed.lines;
  };
  EXPECT_EQ(receive("8080"), QStringList{"80 80 "});
  EXPECT_EQ(receive("610160420189CA6101"), (QStringList{"61 01 60 ", "42 01 89 CA "}));
  EXPECT_EQ(buffer, "6101");
  EXPECT_EQ(receive("60"), QStringList{"61 01 60 "});
  EXPECT_TRUE(buffer.isEmpty());
  EXPECT_TRUE(receive("4").isEmpty());
  EXPECT_TRUE(receive("2").isEmpty());
  EXPECT_EQ(buffer, "42");
}

}  // namespace
