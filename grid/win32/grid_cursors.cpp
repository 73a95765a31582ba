#include "grid/win32/grid_cursors.h"

#include <array>

#include "grid/grid_types.h"

namespace grid::win32 {
namespace {

// Registered once for the process under 101..105; cursors from resources are shared and
// never destroyed.
const std::array<HCURSOR, 5>& OwnCursors() {
  static const std::array<HCURSOR, 5> cursors = [] {
    std::array<HCURSOR, 5> loaded{};
    HINSTANCE program = GetModuleHandleW(nullptr);
    const wchar_t* names[] = {L"CR_PLUS", L"CR_CROSS", L"CR_RIGHT", L"CR_DOWN", L"CR_LEFTTOP"};
    for (std::size_t i = 0; i < loaded.size(); ++i) loaded[i] = LoadCursorW(program, names[i]);
    return loaded;
  }();
  return cursors;
}

}  // namespace

HCURSOR GridCursor(std::int32_t number) {
  if (number >= cursor::Plus && number <= cursor::LeftTop) {
    HCURSOR own = OwnCursors()[static_cast<std::size_t>(number - cursor::Plus)];
    if (own) return own;
  }
  if (number == cursor::HSplit) return LoadCursorW(nullptr, IDC_SIZEWE);
  return LoadCursorW(nullptr, IDC_ARROW);
}

}  // namespace grid::win32
