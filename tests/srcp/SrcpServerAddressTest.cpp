#include "srcp/SrcpServerAddress.h"

#include <gtest/gtest.h>

namespace {

TEST(ServerAddress, ParsesHostAndPortAndRefusesWhatNamesNoSingleServer) {
  const std::pair<const char*, SrcpServerAddress> valid[] = {
      {"127.0.0.1:4303", {"127.0.0.1", 4303}},
      {"192.168.2.40", {"192.168.2.40", 4303}},
      {" raspberrypi.local:12345 ", {"raspberrypi.local", 12345}},
      {"Baan-pcAZ09:1", {"Baan-pcAZ09", 1}},
      {"localhost:65535", {"localhost", 65535}}};
  for (const auto& [text, address] : valid)
    EXPECT_EQ(SrcpServerAddress::Parse(QLatin1String(text)), address) << text;
  for (const char* text : {"", ":4303", "localhost:", "localhost:0", "localhost:65536",
                           "localhost:43a", "localhost:-1", "localhost:+43", "256.1.1.1", "10.1.1",
                           "010.1.1.1", "baan pc", "-baan", "baan..pc", "::1", "a:1:2"})
    EXPECT_EQ(SrcpServerAddress::Parse(QLatin1String(text)), std::nullopt) << text;

  EXPECT_EQ(SrcpServerAddress().ToString(), "127.0.0.1:4303");
  EXPECT_TRUE(SrcpServerAddress().IsDottedAddress());
  EXPECT_FALSE(SrcpServerAddress::Parse("localhost")->IsDottedAddress());
}

}  // namespace
