// A row of the grid read out as one text, as a screen reader says it: the visible cells in
// column order, and the column titles in the same form for the header.
#pragma once

#include <cstdint>
#include <string>

#include "grid/text_grid.h"

namespace grid {

// The row's visible cells, separated by ", "; empty cells keep their place. Empty outside
// 0..RowCount - 1.
std::wstring RowText(const TTextGrid& grid, std::int32_t row);
// The visible columns' titles, separated by ", ".
std::wstring HeaderText(const TTextGrid& grid);

}  // namespace grid
