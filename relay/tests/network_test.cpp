// Which peers the relay serves: addresses in both families, subnets, and the setting's
// local, any and refusing entries.
#include <gtest/gtest.h>

#include "common/error.h"
#include "relay/allowed_clients.h"

namespace relay {
namespace {

IpAddress Ip(const char* text) {
  const auto address = ParseIpAddress(text);
  EXPECT_TRUE(address) << text;
  return address.value_or(IpAddress{});
}

TEST(AllowedClientsTest, ReadsBothFamiliesAndRefusesMalformedAddresses) {
  EXPECT_EQ(Ip("192.168.1.10").bytes[3], 10);
  EXPECT_EQ(Ip("fe80::1").bytes[0], 0xFE);
  EXPECT_EQ(Ip("fe80::1").bytes[15], 1);
  EXPECT_EQ(Unmapped(Ip("::ffff:10.1.2.3")), Ip("10.1.2.3"));
  EXPECT_EQ(Ip("1:2:3:4:5:6:7:8").bytes[14], 0);
  EXPECT_EQ(Ip("::"), (IpAddress{true, {}}));
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1..2.3", "1::2::3", "12345::", "1:2:3:4:5:6:7:8:9",
                          "g::1", ":1", "1.2.3.4/8"})
    EXPECT_FALSE(ParseIpAddress(bad)) << bad;
}

TEST(AllowedClientsTest, LocalIsThisPcAndItsSubnetsAndTheSettingWidensOrNarrowsIt) {
  const std::vector<Subnet> mine{{Ip("192.168.1.20"), 24}, {Ip("fd00:1::5"), 64}};
  const AllowedClients local;
  EXPECT_TRUE(local.Allows(Ip("127.0.0.1"), mine));
  EXPECT_TRUE(local.Allows(Ip("::1"), mine));
  EXPECT_TRUE(local.Allows(Ip("::ffff:192.168.1.99"), mine));
  EXPECT_TRUE(local.Allows(Ip("fd00:1::abcd"), mine));
  EXPECT_FALSE(local.Allows(Ip("192.168.2.1"), mine));
  EXPECT_FALSE(local.Allows(Ip("fd00:2::1"), mine));

  const AllowedClients wider("local, 10.0.0.0/8; 2001:db8::/32");
  EXPECT_TRUE(wider.Allows(Ip("10.200.0.1"), mine));
  EXPECT_TRUE(wider.Allows(Ip("2001:db8:ffff::1"), mine));
  EXPECT_FALSE(wider.Allows(Ip("11.0.0.1"), mine));

  const AllowedClients narrower("local -192.168.1.0/24");
  EXPECT_FALSE(narrower.Allows(Ip("192.168.1.99"), mine));
  EXPECT_TRUE(narrower.Allows(Ip("127.0.0.1"), mine));
  EXPECT_FALSE(AllowedClients("any -local").Allows(Ip("::1"), mine));
  EXPECT_TRUE(AllowedClients("any -local").Allows(Ip("8.8.8.8"), mine));
  EXPECT_FALSE(AllowedClients("").Allows(Ip("127.0.0.1"), mine));
  EXPECT_THROW(AllowedClients("local everyone"), common::Error);
  EXPECT_THROW(AllowedClients("10.0.0.0/33"), common::Error);
}

}  // namespace
}  // namespace relay
