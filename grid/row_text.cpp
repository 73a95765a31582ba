#include "grid/row_text.h"

namespace grid {
namespace {

constexpr wchar_t Separator[] = L", ";

template <class TextOf>
std::wstring JoinVisibleColumns(const TTextGrid& grid, TextOf textOf) {
  std::wstring text;
  bool first = true;
  for (std::int32_t col = 0; col < grid.ColCount(); ++col) {
    if (!grid.Columns()[col].Visible()) continue;
    if (!first) text += Separator;
    text += textOf(col);
    first = false;
  }
  return text;
}

}  // namespace

std::wstring RowText(const TTextGrid& grid, std::int32_t row) {
  if (row < 0 || row >= grid.RowCount()) return {};
  return JoinVisibleColumns(grid, [&](std::int32_t col) { return grid.CellText(col, row); });
}

std::wstring HeaderText(const TTextGrid& grid) {
  return JoinVisibleColumns(grid, [&](std::int32_t col) { return grid.Columns()[col].Title(); });
}

}  // namespace grid
