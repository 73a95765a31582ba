// Enumerations and the string list shared by the grid, its columns and its editor.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace grid {

enum class TGutterKind { gkNone, gkBlank, gkPointer, gkNumber, gkString };
enum class THorzAlign { haLeft, haCenter, haRight };
enum class TVertAlign { vaTop, vaCenter, vaBottom };

// A column's cell texts, entry i for row i. A deque keeps deleting the first row cheap.
using StringList = std::deque<std::wstring>;

}  // namespace grid

namespace grid {

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Modifier keys and mouse buttons held during an input event.
using TShiftState = unsigned;
namespace shift {
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
}  // namespace shift

}  // namespace grid

namespace grid {

// Cursor numbers: the grid's own five are registered from the program's cursor resources.
namespace cursor {
constexpr std::int32_t Default = 0;
constexpr std::int32_t HSplit = -14;
constexpr std::int32_t Plus = 101;      // "CR_PLUS": over the cells
constexpr std::int32_t Cross = 102;     // "CR_CROSS": over the fill handle
constexpr std::int32_t Right = 103;     // "CR_RIGHT": over the gutter
constexpr std::int32_t Down = 104;      // "CR_DOWN": over the header
constexpr std::int32_t LeftTop = 105;   // "CR_LEFTTOP": over the corner
}  // namespace cursor

}  // namespace grid

namespace grid {

// Key codes as the platform numbers them.
namespace key {
constexpr std::uint16_t Back = 8;
constexpr std::uint16_t Tab = 9;
constexpr std::uint16_t Enter = 13;
constexpr std::uint16_t Escape = 27;
constexpr std::uint16_t PageUp = 33;
constexpr std::uint16_t PageDown = 34;
constexpr std::uint16_t End = 35;
constexpr std::uint16_t Home = 36;
constexpr std::uint16_t Left = 37;
constexpr std::uint16_t Up = 38;
constexpr std::uint16_t Right = 39;
constexpr std::uint16_t Down = 40;
constexpr std::uint16_t Insert = 45;
constexpr std::uint16_t Delete = 46;
constexpr std::uint16_t C = 'C';
constexpr std::uint16_t V = 'V';
constexpr std::uint16_t X = 'X';
}  // namespace key

// Scroll-bar actions as the platform numbers them.
enum class ScrollAction {
  LineUp = 0,
  LineDown = 1,
  PageUp = 2,
  PageDown = 3,
  ThumbPosition = 4,
  ThumbTrack = 5,
  Top = 6,
  Bottom = 7,
  EndScroll = 8
};

// Where the mouse is over the grid; a mouse-down acts on the zone last shown.
enum class HitZone { None = 0, Corner = 1, Gutter = 2, Header = 3, Cell = 4, ColumnEdge = 5, FillHandle = 6 };

}  // namespace grid
