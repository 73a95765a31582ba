// The conversion against an independent reference, over many random texts built from the
// characters that matter (digits, hex letters, prefixes, signs, blanks, non-ASCII letters).
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "common/device_int.h"
#include "common/error.h"
#include "common/tests/device_int_reference.h"
#include "common/utf16.h"

namespace common {
namespace {

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
    const auto expected = testing::ReferenceDeviceInt(text);
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
