// An independent reading of the device integer grammar, for the tests and the fuzz target to
// check the conversion against: the grammar as a regular expression, the value by the
// standard library.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <regex>
#include <string>

#include "common/utf16.h"

namespace common::testing {

inline std::optional<std::int32_t> ReferenceDeviceInt(const std::wstring& text) {
  static const std::regex grammar("^ *([+-]?)(?:(\\$|x|X|0x|0X)([0-9a-fA-F]{1,8})|([0-9]+))$");
  std::smatch m;
  const std::string utf8 = ToUtf8(text);
  if (text.find(L'\0') != std::wstring::npos || !std::regex_match(utf8, m, grammar)) return std::nullopt;
  const bool negative = m[1] == "-";
  if (m[2].matched) {
    const auto value = static_cast<std::uint32_t>(std::stoul(m[3].str(), nullptr, 16));
    return static_cast<std::int32_t>(negative ? 0u - value : value);
  }
  std::string digits = m[4].str();
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
  if (digits.size() > 10) return std::nullopt;
  const long long value = (negative ? -1 : 1) * std::stoll(digits);
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace common::testing
