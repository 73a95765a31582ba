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
