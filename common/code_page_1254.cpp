// Windows-1254 (Turkish) for the native build, where no system code page applies.
#include <array>

#include "common/code_page.h"

namespace common {
namespace {

// 0x80..0x9F; bytes Windows leaves undefined map to the control character of the same value.
constexpr std::array<char16_t, 32> kHigh80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x008E, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178};

// 0xA0..0xFF is Latin-1 but for the six Turkish letters.
constexpr std::array<std::pair<unsigned char, char16_t>, 6> kTurkish = {{
    {0xD0, 0x011E}, {0xDD, 0x0130}, {0xDE, 0x015E}, {0xF0, 0x011F}, {0xFD, 0x0131}, {0xFE, 0x015F}}};

char32_t Decode(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte < 0xA0) return kHigh80[byte - 0x80];
  for (auto [b, c] : kTurkish)
    if (b == byte) return c;
  return byte;
}

char Encode(char32_t c) {
  if (c < 0x80) return static_cast<char>(c);
  for (unsigned byte = 0x80; byte <= 0xFF; ++byte)
    if (Decode(static_cast<unsigned char>(byte)) == c) return static_cast<char>(byte);
  return '?';
}

}  // namespace

std::string ToAnsi(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) out += Encode(static_cast<std::make_unsigned_t<wchar_t>>(c));
  return out;
}

std::wstring FromAnsi(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (char c : text) out += static_cast<wchar_t>(Decode(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace common
