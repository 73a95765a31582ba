// Enumerations and the string list shared by the grid, its columns and its editor.
#pragma once

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
