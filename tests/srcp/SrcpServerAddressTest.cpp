#include "srcp/SrcpServerAddress.h"

#include <gtest/gtest.h>

namespace {

struct AddressCase {
  const char* text;
  std::optional<SrcpServerAddress> parsed;
};

class ServerAddress : public testing::TestWithParam<AddressCase> {};

TEST_P(ServerAddress, ParsesHostAndPort) {
  EXPECT_EQ(SrcpServerAddress::Parse(QLatin1String(GetParam().text)), GetParam().parsed)
      << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ServerAddress,
    testing::Values(
        AddressCase{"127.0.0.1:4303", SrcpServerAddress{"127.0.0.1", 4303}},
        AddressCase{"192.168.2.40", SrcpServerAddress{"192.168.2.40", 4303}},
        AddressCase{" raspberrypi.local:12345 ", SrcpServerAddress{"raspberrypi.local", 12345}},
        AddressCase{"baan-pc0:1", SrcpServerAddress{"baan-pc0", 1}},
        AddressCase{"localhost:65535", SrcpServerAddress{"localhost", 65535}},
        AddressCase{"", std::nullopt}, AddressCase{":4303", std::nullopt},
        AddressCase{"localhost:", std::nullopt}, AddressCase{"localhost:0", std::nullopt},
        AddressCase{"localhost:65536", std::nullopt}, AddressCase{"localhost:43a", std::nullopt},
        AddressCase{"localhost:-1", std::nullopt}, AddressCase{"localhost:+43", std::nullopt},
        AddressCase{"256.1.1.1", std::nullopt}, AddressCase{"10.1.1", std::nullopt},
        AddressCase{"010.1.1.1", std::nullopt}, AddressCase{"baan pc", std::nullopt},
        AddressCase{"-baan", std::nullopt}, AddressCase{"baan..pc", std::nullopt},
        AddressCase{"::1", std::nullopt}, AddressCase{"a:1:2", std::nullopt}));

TEST(ServerAddress, DefaultIsTheLocalServer) {
  const SrcpServerAddress address;
  EXPECT_EQ(address.ToString(), "127.0.0.1:4303");
  EXPECT_TRUE(address.IsDottedAddress());
  EXPECT_FALSE(SrcpServerAddress::Parse("localhost")->IsDottedAddress());
}

}  // namespace
