#include "loconet/LocoNetMessage.h"

#include <gtest/gtest.h>

namespace {

constexpr auto Bytes = &QByteArray::fromHex;

TEST(LocoNetMessage, TheCheckByteMakesTheMessageXorToFF) {
  EXPECT_EQ(LocoNetMessage(Bytes("83")), Bytes("83 7C"));
  EXPECT_EQ(LocoNetMessage(Bytes("BA 05 05")), Bytes("BA 05 05 45"));
  // Bytes with bit 7 set must not sign-extend into the check byte.
  EXPECT_EQ(LocoNetMessage(Bytes("E5 FF 80")), Bytes("E5 FF 80 65"));

  // A wrong check byte, and text that is no message at all, are never valid.
  const std::pair<const char*, bool> texts[] = {
      {"837C", true}, {"B000307F", true}, {"837D", false}, {"B000307E", false},
      {"", false},    {"837C0", false},   {"83G7", false}};
  for (const auto& [text, ok] : texts) EXPECT_EQ(LocoNetChecksumOk(QByteArray(text)), ok) << text;
}

// Direction 0 sets the direction bit; the second half clears the output bit.
TEST(LocoNetMessage, SwitchRequestCarriesTurnoutDirectionAndOutput) {
  const struct {
    int turnout, direction;
    const char *on, *off;
  } cases[] = {{1, 0, "B0 00 30 7F", "B0 00 20 6F"},    {2, 0, "B0 01 30 7E", "B0 01 20 6E"},
               {128, 0, "B0 7F 30 00", "B0 7F 20 10"},  {129, 0, "B0 00 31 7E", "B0 00 21 6E"},
               {2044, 0, "B0 7B 3F 0B", "B0 7B 2F 1B"}, {2048, 0, "B0 7F 3F 0F", "B0 7F 2F 1F"},
               {2044, 1, "B0 7B 1F 2B", "B0 7B 0F 3B"}, {2044, -1, "B0 7B 1F 2B", "B0 7B 0F 3B"},
               {2044, 2, "B0 7B 1F 2B", "B0 7B 0F 3B"}};
  for (const auto& c : cases) {
    const LocoNetSwitchRequest request = LocoNetSwitchMessages(c.turnout, c.direction);
    EXPECT_EQ(LocoNetMessage(request.outputOn), Bytes(c.on)) << c.turnout << "/" << c.direction;
    EXPECT_EQ(LocoNetMessage(request.outputOff), Bytes(c.off)) << c.turnout << "/" << c.direction;
  }
}

}  // namespace
