// The integer conversion of device texts, as a table of accepted and rejected texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/device_int.h"
#include "common/error.h"
#include "common/utf16.h"

namespace common {
namespace {

struct Accepted {
  const wchar_t* text;
  std::int32_t value;
};

const Accepted kAccepted[] = {
    {L"0", 0},
    {L"7", 7},
    {L"007", 7},
    {L" 12", 12},
    {L"   30", 30},
    {L"+15", 15},
    {L"-15", -15},
    {L"-0", 0},
    {L"2147483647", 2147483647},
    {L"-2147483648", INT32_MIN},
    {L"00000000002147483647", 2147483647},
    {L"$10", 16},
    {L"+$10", 16},
    {L"-0x10", -16},
    {L"x7fffffff", 2147483647},
    {L"X7FFFFFFF", 2147483647},
    {L"0X1f", 31},
    {L"$FFFFFFFF", -1},
    {L"$80000000", INT32_MIN},
    {L"-$80000000", INT32_MIN},
    {L"-$FFFFFFFF", 1},
    {L"$00000000", 0},
    {L" -$aBc", -0xABC},
    {L"255", 255},
    {L"256", 256},
};

const wchar_t* const kRejected[] = {
    L"",           L" ",          L"+",           L"-",          L"0x",        L"$",
    L"x",          L"12 ",        L"1 2",         L"- 5",        L"+-5",       L"--5",
    L"2147483648", L"-2147483649", L"99999999999", L"$100000000", L"$000000001", L"0x123456789",
    L"$G",         L"0xFG",       L"12a",         L"abc",        L"1.5",       L"1e3",
    L"\t12",       L"12\n",       L"0b101",       L"00x5",       L"$-5",       L"x+5",
    L"\u015f",     L"1\u0131",    L"\u0130",
};

TEST(DeviceTextToInt, AcceptsTheDocumentedForms) {
  for (const auto& [text, value] : kAccepted) {
    EXPECT_EQ(DeviceTextToInt(text), value) << "text: '" << ToUtf8(text) << "'";
  }
}

TEST(DeviceTextToInt, RejectsEverythingElseWithTheTextInTheMessage) {
  for (const wchar_t* text : kRejected) {
    try {
      const auto value = DeviceTextToInt(text);
      ADD_FAILURE() << "accepted '" << ToUtf8(text) << "' as " << value;
    } catch (const ConvertError& e) {
      EXPECT_EQ(e.Message(), L"'" + std::wstring(text) + L"' is not a valid integer value");
      EXPECT_EQ(e.SystemCode(), 0);
    }
  }
}

TEST(DeviceTextToInt, EmbeddedNulIsSomethingThatFollows) {
  EXPECT_THROW(DeviceTextToInt(std::wstring(L"12\0", 3)), ConvertError);
}

TEST(DeviceTextToInt, MessageOfTheEmptyText) {
  try {
    DeviceTextToInt(L"");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
}

}  // namespace
}  // namespace common
