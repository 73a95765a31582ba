// Fit-to-width: resizable columns grow or shrink one pixel at a time, in index order, round
// after round, until the visible columns fill the available width exactly.
#pragma once

#include <cstdint>
#include <vector>

namespace grid {

struct FitColumn {
  std::int32_t width = 0;
  bool visible = true;
  bool canResize = true;
};

// Changes the widths in place and returns the new sum of the visible widths. The column
// skipCol is left alone while shrinking; no lower limit applies to a width.
std::int32_t FitColumnsToWidth(std::vector<FitColumn>& columns, std::int32_t available, std::int32_t skipCol);

}  // namespace grid
