// Which peers may connect. The setting is a list of entries separated by blanks, commas or
// semicolons:
//   local          this PC (loopback) and the PC's own local subnets (the default)
//   any            every address
//   ADDRESS[/BITS] an IPv4 or IPv6 address or subnet
// and any of them after '-' refuses what it names, before every allowing entry. IPv4 peers
// that arrive as IPv4-mapped IPv6 addresses are taken as IPv4.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace relay {

struct IpAddress {
  bool v6 = false;
  std::array<std::uint8_t, 16> bytes{};  // IPv4 in the first four
  bool operator==(const IpAddress&) const = default;
};

struct Subnet {
  IpAddress address;
  int bits = 0;
  bool Contains(const IpAddress& peer) const;
};

std::optional<IpAddress> ParseIpAddress(std::string_view text);
// An IPv4-mapped IPv6 address as the IPv4 address; any other unchanged.
IpAddress Unmapped(const IpAddress& address);

class AllowedClients {
 public:
  // Throws common::Error naming the entry it does not understand.
  explicit AllowedClients(std::string_view setting = "local");

  // `localSubnets` are the PC's own (its interfaces' addresses with their prefix lengths).
  bool Allows(const IpAddress& peer, const std::vector<Subnet>& localSubnets) const;

 private:
  struct Entry {
    enum class Kind { Local, Any, Subnet } kind;
    Subnet subnet;
  };
  static bool Matches(const Entry& entry, const IpAddress& peer, const std::vector<Subnet>& localSubnets);

  std::vector<Entry> allowed_, refused_;
};

}  // namespace relay
