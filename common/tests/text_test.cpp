// UTF-8 and the single-byte code page: Turkish letters survive, what the code page lacks does
// not, and malformed input never breaks a conversion.
#include <gtest/gtest.h>

#include <string>

#include "common/code_page.h"
#include "common/utf16.h"

namespace common {
namespace {

const std::wstring kTurkish = L"\u00c7a\u011fr\u0131: \u0130\u015f\u00fc\u00f6\u00e7\u011e\u00dc\u015e\u00d6";

TEST(Utf16, RoundTripsThroughUtf8) {
  const std::string utf8 = "\xc3\x87" "a\xc4\x9fr\xc4\xb1: \xc4\xb0\xc5\x9f\xc3\xbc\xc3\xb6\xc3\xa7\xc4\x9e\xc3\x9c\xc5\x9e\xc3\x96";
  EXPECT_EQ(ToUtf8(kTurkish), utf8);
  EXPECT_EQ(FromUtf8(utf8), kTurkish);
  const std::wstring astral = FromUtf8("\xf0\x9f\x93\x9e");  // a telephone receiver, U+1F4DE
  EXPECT_EQ(ToUtf8(astral), "\xf0\x9f\x93\x9e");
  EXPECT_EQ(astral.size(), sizeof(wchar_t) == 2 ? 2u : 1u);
}

TEST(Utf16, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(FromUtf8("a\xc3"), L"a\uFFFD");
  EXPECT_EQ(FromUtf8("\xc0\xaf"), L"\uFFFD");      // overlong
  EXPECT_EQ(FromUtf8("\xed\xa0\x80x"), L"\uFFFDx");  // encoded surrogate
  EXPECT_EQ(FromUtf8("\xff"), L"\uFFFD");
  EXPECT_EQ(ToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800)) + L"z"), "\xef\xbf\xbdz");
}

// The programs run on Turkish systems; the tests run with that code page (1254).
TEST(CodePage, TurkishLettersMapToTheirSingleBytes) {
  const std::string bytes = ToAnsi(kTurkish);
  EXPECT_EQ(bytes, "\xc7" "a\xf0r\xfd: \xdd\xfe\xfc\xf6\xe7\xd0\xdc\xde\xd6");
  EXPECT_EQ(FromAnsi(bytes), kTurkish);
  EXPECT_EQ(FromAnsi("\x80\x9f"), L"\u20ac\u0178");
}

TEST(CodePage, CharactersTheCodePageLacksAreLost) {
  EXPECT_EQ(ToAnsi(L"\u0416"), "?");  // Cyrillic Zhe
  EXPECT_EQ(ToAnsi(L"12\u20ac"), "12\x80");
  EXPECT_EQ(ToAnsi(L""), "");
}

}  // namespace
}  // namespace common
