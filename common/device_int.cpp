#include "common/device_int.h"

#include <optional>
#include <string>

#include "common/code_page.h"
#include "common/error.h"

namespace common {
namespace {

std::optional<unsigned> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

// Length of the hexadecimal prefix at text[i], or 0 when none stands there.
std::size_t HexPrefixLength(std::string_view text, std::size_t i) {
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) return 1;
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) return 2;
  return 0;
}

std::optional<std::uint32_t> ParseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    const auto digit = HexDigit(c);
    if (!digit) return std::nullopt;
    value = value << 4 | *digit;
  }
  return value;
}

// The magnitude of a decimal number, as long as it stays within 2^31.
std::optional<std::uint32_t> ParseDecimal(std::string_view digits) {
  constexpr std::uint32_t kLimit = 0x80000000u;
  if (digits.empty()) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    if (value > (kLimit - (c - '0')) / 10) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<std::int32_t> Parse(std::string_view text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return std::nullopt;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;

  if (const std::size_t prefix = HexPrefixLength(text, i)) {
    const auto value = ParseHex(text.substr(i + prefix));
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(negative ? 0u - *value : *value);
  }
  const auto magnitude = ParseDecimal(text.substr(i));
  if (!magnitude || (!negative && *magnitude > 0x7FFFFFFFu)) return std::nullopt;
  return static_cast<std::int32_t>(negative ? 0u - *magnitude : *magnitude);
}

}  // namespace

std::int32_t DeviceTextToInt(std::wstring_view text) {
  if (const auto value = Parse(ToAnsi(text))) return *value;
  throw ConvertError(L"'" + std::wstring(text) + L"' is not a valid integer value");
}

}  // namespace common
