// A font as a value: what the canvas needs to create it. Grids and columns hold copies.
#pragma once

#include <cstdint>
#include <string>

#include "grid/colour.h"

namespace grid {

enum class FontPitch : std::uint8_t { Default, Variable, Fixed };

namespace font_style {
constexpr std::uint8_t Bold = 1;
constexpr std::uint8_t Italic = 2;
constexpr std::uint8_t Underline = 4;
constexpr std::uint8_t StrikeOut = 8;
}  // namespace font_style

namespace charset {
constexpr std::uint8_t Default = 1;
constexpr std::uint8_t Turkish = 162;
}  // namespace charset

struct Font {
  std::wstring name = L"MS Sans Serif";
  // Negative: character height in pixels; positive: cell height.
  std::int32_t height = -11;
  std::uint8_t charset = charset::Default;
  Colour colour = clWindowText;
  FontPitch pitch = FontPitch::Default;
  std::uint8_t style = 0;  // font_style bits
  std::int32_t pixelsPerInch = 96;

  bool operator==(const Font&) const = default;
};

}  // namespace grid
