// Parsing addresses and matching peers against the allowed clients.
#include "relay/allowed_clients.h"

#include <algorithm>

#include "common/error.h"
#include "common/utf16.h"

namespace relay {
namespace {

bool Decimal(std::string_view text, int max, int& value) {
  if (text.empty() || text.size() > 3) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= max;
}

bool ParseV4(std::string_view text, std::uint8_t* out) {
  for (int part = 0; part < 4; ++part) {
    const std::size_t dot = text.find('.');
    if ((part < 3) == (dot == std::string_view::npos)) return false;
    int value = 0;
    if (!Decimal(text.substr(0, dot), 255, value)) return false;
    out[part] = static_cast<std::uint8_t>(value);
    text.remove_prefix(part < 3 ? dot + 1 : text.size());
  }
  return true;
}

// Groups of up to four hex digits; an IPv4 tail counts as two groups.
bool ParseGroups(std::string_view text, std::vector<std::uint8_t>& bytes) {
  if (text.empty()) return true;
  while (true) {
    const std::size_t colon = text.find(':');
    const std::string_view group = text.substr(0, colon);
    if (colon == std::string_view::npos && group.find('.') != std::string_view::npos) {
      std::uint8_t v4[4];
      if (!ParseV4(group, v4)) return false;
      bytes.insert(bytes.end(), v4, v4 + 4);
      return true;
    }
    if (group.empty() || group.size() > 4) return false;
    unsigned value = 0;
    for (char c : group) {
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (digit < 0) return false;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    if (colon == std::string_view::npos) return true;
    text.remove_prefix(colon + 1);
  }
}

bool ParseV6(std::string_view text, std::uint8_t* out) {
  const std::size_t gap = text.find("::");
  std::vector<std::uint8_t> head, tail;
  if (gap == std::string_view::npos) {
    if (!ParseGroups(text, head) || head.size() != 16) return false;
  } else {
    if (text.find("::", gap + 1) != std::string_view::npos) return false;
    if (!ParseGroups(text.substr(0, gap), head) || !ParseGroups(text.substr(gap + 2), tail)) return false;
    if (head.size() + tail.size() > 14) return false;
  }
  std::copy(head.begin(), head.end(), out);
  std::copy(tail.begin(), tail.end(), out + 16 - tail.size());
  return true;
}

std::vector<std::string_view> Entries(std::string_view setting) {
  std::vector<std::string_view> entries;
  while (!setting.empty()) {
    const std::size_t end = setting.find_first_of(" \t,;");
    if (end != 0) entries.push_back(setting.substr(0, end));
    if (end == std::string_view::npos) break;
    setting.remove_prefix(end + 1);
  }
  return entries;
}

}  // namespace

std::optional<IpAddress> ParseIpAddress(std::string_view text) {
  IpAddress address;
  if (text.find(':') == std::string_view::npos) {
    if (!ParseV4(text, address.bytes.data())) return std::nullopt;
    return address;
  }
  address.v6 = true;
  if (!ParseV6(text, address.bytes.data())) return std::nullopt;
  return address;
}

IpAddress Unmapped(const IpAddress& address) {
  static constexpr std::uint8_t kMappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
  if (!address.v6 || !std::equal(kMappedPrefix, kMappedPrefix + 12, address.bytes.begin())) return address;
  IpAddress v4;
  std::copy(address.bytes.begin() + 12, address.bytes.end(), v4.bytes.begin());
  return v4;
}

bool Subnet::Contains(const IpAddress& peer) const {
  const IpAddress mine = Unmapped(address), theirs = Unmapped(peer);
  if (mine.v6 != theirs.v6) return false;
  int bitsLeft = bits;
  for (std::size_t index = 0; bitsLeft > 0 && index < 16; ++index, bitsLeft -= 8) {
    const int take = bitsLeft < 8 ? bitsLeft : 8;
    const auto mask = static_cast<std::uint8_t>(0xFF << (8 - take));
    if ((mine.bytes[index] & mask) != (theirs.bytes[index] & mask)) return false;
  }
  return true;
}

AllowedClients::AllowedClients(std::string_view setting) {
  for (std::string_view text : Entries(setting)) {
    const bool refuse = text.front() == '-';
    if (refuse) text.remove_prefix(1);
    Entry entry{Entry::Kind::Subnet, {}};
    if (text == "local") entry.kind = Entry::Kind::Local;
    else if (text == "any") entry.kind = Entry::Kind::Any;
    else {
      const std::size_t slash = text.find('/');
      const auto address = ParseIpAddress(text.substr(0, slash));
      const int maxBits = address && !address->v6 ? 32 : 128;
      int bits = maxBits;
      if (!address || (slash != std::string_view::npos && !Decimal(text.substr(slash + 1), maxBits, bits)))
        throw common::Error(L"Not an allowed-clients entry: " + common::FromUtf8(text));
      entry.subnet = {*address, bits};
    }
    (refuse ? refused_ : allowed_).push_back(entry);
  }
}

bool AllowedClients::Matches(const Entry& entry, const IpAddress& peer, const std::vector<Subnet>& localSubnets) {
  switch (entry.kind) {
    case Entry::Kind::Any: return true;
    case Entry::Kind::Subnet: return entry.subnet.Contains(peer);
    case Entry::Kind::Local: {
      static const Subnet loopbacks[] = {{*ParseIpAddress("127.0.0.0"), 8}, {*ParseIpAddress("::1"), 128}};
      for (const Subnet& subnet : loopbacks)
        if (subnet.Contains(peer)) return true;
      for (const Subnet& subnet : localSubnets)
        if (subnet.Contains(peer)) return true;
      return false;
    }
  }
  return false;
}

bool AllowedClients::Allows(const IpAddress& peer, const std::vector<Subnet>& localSubnets) const {
  for (const Entry& entry : refused_)
    if (Matches(entry, peer, localSubnets)) return false;
  for (const Entry& entry : allowed_)
    if (Matches(entry, peer, localSubnets)) return true;
  return false;
}

}  // namespace relay
