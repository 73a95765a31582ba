// The grid window's accessible object: a table whose children are its rows, each read out as
// its visible cells in column order, with the column titles as the table's description.
#pragma once

#include "grid/text_grid.h"
#include "grid/win32/window_accessible.h"

namespace grid::win32 {

class TextGridAccessible : public WindowAccessible {
 public:
  TextGridAccessible(HWND window, const TTextGrid& grid) : WindowAccessible(window), grid_(grid) {}

 protected:
  std::int32_t ChildCount() const override { return grid_.RowCount(); }
  std::wstring Name(std::int32_t child) const override;
  std::optional<std::wstring> Description(std::int32_t child) const override;
  long Role(std::int32_t child) const override;
  long State(std::int32_t child) const override;
  std::optional<RECT> Place(std::int32_t child) const override;

 private:
  // The row's strip across the visible columns, in client coordinates, cut to the cells' area.
  std::optional<Rect> RowPlace(std::int32_t row) const;

  const TTextGrid& grid_;
};

}  // namespace grid::win32
