#include "loconet/LocoNetMessage.h"

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(const char* spacedHex) {
  return QByteArray::fromHex(spacedHex);
}

TEST(LocoNetMessage, AppendsTheCheckByteThatMakesTheMessageXorToFF) {
  EXPECT_EQ(LocoNetMessage(Bytes("83")), Bytes("83 7C"));
  EXPECT_EQ(LocoNetMessage(Bytes("82")), Bytes("82 7D"));
  EXPECT_EQ(LocoNetMessage(Bytes("B0 00 30")), Bytes("B0 00 30 7F"));
  EXPECT_EQ(LocoNetMessage(Bytes("BA 05 05")), Bytes("BA 05 05 45"));
  // Bytes with bit 7 set must not sign-extend into the check byte.
  EXPECT_EQ(LocoNetMessage(Bytes("E5 FF 80")), Bytes("E5 FF 80 65"));
}

TEST(LocoNetMessage, ChecksumTestAcceptsOnlyMessagesThatXorToFF) {
  EXPECT_TRUE(LocoNetChecksumOk(QByteArray("837C")));
  EXPECT_TRUE(LocoNetChecksumOk(QByteArray("B000307F")));
  EXPECT_FALSE(LocoNetChecksumOk(QByteArray("837D")));
  EXPECT_FALSE(LocoNetChecksumOk(QByteArray("B000307E")));
  // Text that is no message at all is never valid.
  EXPECT_FALSE(LocoNetChecksumOk(QByteArray("")));
  EXPECT_FALSE(LocoNetChecksumOk(QByteArray("837C0")));
  EXPECT_FALSE(LocoNetChecksumOk(QByteArray("83G7")));
}

TEST(LocoNetMessage, SwitchRequestForDirectionZeroSetsDirectionBitAndThenClearsOutputBit) {
  struct Case {
    int turnout;
    const char* on;
    const char* off;
  };
  for (const Case& c :
       {Case{1, "B0 00 30 7F", "B0 00 20 6F"}, Case{2, "B0 01 30 7E", "B0 01 20 6E"},
        Case{128, "B0 7F 30 00", "B0 7F 20 10"}, Case{129, "B0 00 31 7E", "B0 00 21 6E"},
        Case{2044, "B0 7B 3F 0B", "B0 7B 2F 1B"}, Case{2048, "B0 7F 3F 0F", "B0 7F 2F 1F"}}) {
    const LocoNetSwitchRequest request = LocoNetSwitchMessages(c.turnout, 0);
    EXPECT_EQ(LocoNetMessage(request.outputOn), Bytes(c.on)) << "turnout " << c.turnout;
    EXPECT_EQ(LocoNetMessage(request.outputOff), Bytes(c.off)) << "turnout " << c.turnout;
  }
}

TEST(LocoNetMessage, SwitchRequestForOtherDirectionsLeavesDirectionBitClear) {
  for (const int direction : {1, -1, 2}) {
    const LocoNetSwitchRequest request = LocoNetSwitchMessages(2044, direction);
    EXPECT_EQ(LocoNetMessage(request.outputOn), Bytes("B0 7B 1F 2B"));
    EXPECT_EQ(LocoNetMessage(request.outputOff), Bytes("B0 7B 0F 3B"));
  }
}

}  // namespace
