// The conversion against an independent reference, over many random texts built from the
// characters that matter (digits, hex letters, prefixes, signs, blanks, non-ASCII letters).
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <regex>
#include <string>

#include "common/device_int.h"
#include "common/error.h"
#include "common/utf16.h"

namespace common {
namespace {

// The documented grammar as a regular expression, the value by the standard library.
std::optional<std::int32_t> Reference(const std::wstring& text) {
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

std::wstring RandomText(std::mt19937& random) {
  static const std::wstring alphabet = std::wstring(L"0123456789aAfFgxX$+- \t0000999\u015f\u0131\u00e7\uFF11") + L'\0';
  static const std::wstring pieces[] = {L"0x", L"0X", L"$", L"2147483647", L"2147483648",
                                        L"FFFFFFFF", L"-", L" ", L"00000000"};
  std::wstring text;
  const int length = std::uniform_int_distribution<int>(0, 14)(random);
  for (int i = 0; i < length; ++i) {
    if (random() % 4 == 0)
      text += pieces[random() % std::size(pieces)];
    else
      text += alphabet[random() % alphabet.size()];
  }
  return text;
}

TEST(DeviceTextToInt, AgreesWithAnIndependentReferenceOnRandomTexts) {
  std::mt19937 random(20261207);
  int accepted = 0;
  for (int i = 0; i < 200000; ++i) {
    const std::wstring text = RandomText(random);
    const auto expected = Reference(text);
    std::optional<std::int32_t> actual;
    try {
      actual = DeviceTextToInt(text);
    } catch (const ConvertError&) {
    }
    ASSERT_EQ(actual, expected) << "text: '" << ToUtf8(text) << "'";
    accepted += actual.has_value();
  }
  // The generator must reach both verdicts often enough to mean something.
  EXPECT_GT(accepted, 5000);
  EXPECT_LT(accepted, 195000);
}

}  // namespace
}  // namespace common
