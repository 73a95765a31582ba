// Colours as the system stores them: $00BBGGRR for a plain colour, $FF0000nn for system
// colour nn, resolved only when drawing.
#pragma once

#include <cstdint>

namespace grid {

using Colour = std::uint32_t;

constexpr Colour clBlack = 0x00000000;
constexpr Colour clWhite = 0x00FFFFFF;
constexpr Colour clWindowText = 0xFF000008;
constexpr Colour clWindow = 0xFF000005;
constexpr Colour clBtnFace = 0xFF00000F;
constexpr Colour clBtnShadow = 0xFF000010;
constexpr Colour clBtnHighlight = 0xFF000014;

constexpr bool IsSystemColour(Colour c) { return (c & 0xFF000000u) == 0xFF000000u; }
constexpr int SystemColourIndex(Colour c) { return static_cast<int>(c & 0xFFu); }

}  // namespace grid
