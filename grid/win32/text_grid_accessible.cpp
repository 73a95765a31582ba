#include "grid/win32/text_grid_accessible.h"

#include <algorithm>

#include "grid/row_text.h"

namespace grid::win32 {

std::wstring TextGridAccessible::Name(std::int32_t child) const {
  return child == CHILDID_SELF ? WindowText() : RowText(grid_, child - 1);
}

std::optional<std::wstring> TextGridAccessible::Description(std::int32_t child) const {
  if (child != CHILDID_SELF) return std::nullopt;
  return HeaderText(grid_);
}

long TextGridAccessible::Role(std::int32_t child) const {
  return child == CHILDID_SELF ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_ROW;
}

// A row scrolled out of view is still there, off the screen.
long TextGridAccessible::State(std::int32_t child) const {
  long state = grid_.ReadOnly() ? STATE_SYSTEM_READONLY : 0;
  if (child == CHILDID_SELF) return state | STATE_SYSTEM_FOCUSABLE;
  if (!RowPlace(child - 1)) state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
  if (grid_.CurrentRow() == child - 1 && GetFocus() == Window()) state |= STATE_SYSTEM_FOCUSED;
  return state;
}

std::optional<RECT> TextGridAccessible::Place(std::int32_t child) const {
  if (child == CHILDID_SELF) {
    RECT client{};
    GetClientRect(Window(), &client);
    return client;
  }
  const std::optional<Rect> place = RowPlace(child - 1);
  if (!place) return std::nullopt;
  return RECT{place->left, place->top, place->right, place->bottom};
}

std::optional<Rect> TextGridAccessible::RowPlace(std::int32_t row) const {
  const std::int32_t first = grid_.FirstVisibleCol(), last = grid_.LastVisibleCol();
  if (first < 0 || row < 0 || row >= grid_.RowCount()) return std::nullopt;
  const Rect strip = Union(grid_.ContentToClient(grid_.CellRect(first, row)),
                           grid_.ContentToClient(grid_.CellRect(last, row)));
  const Rect& area = grid_.CellArea();
  const Rect shown{std::max(strip.left, area.left), std::max(strip.top, area.top),
                   std::min(strip.right, area.right), std::min(strip.bottom, area.bottom)};
  if (shown.IsEmpty()) return std::nullopt;
  return shown;
}

}  // namespace grid::win32
