// Fit-to-width: resizable columns grow or shrink one pixel at a time, in index order, round
// after round, until the visible columns fill the available width exactly. Shrinking stops at
// a minimum width, so that every column keeps a visible strip and no column edge lies left of
// the one before it; columns that cannot shrink further leave the surplus to the scroll bar.
#pragma once

#include <cstdint>
#include <vector>

namespace grid {

// The narrowest a column is shrunk to: the narrowest the user can drag one.
inline constexpr std::int32_t kMinFitWidth = 5;

struct FitColumn {
  std::int32_t width = 0;
  bool visible = true;
  bool canResize = true;
};

// Changes the widths in place and returns the new sum of the visible widths, which exceeds
// `available` when the columns cannot shrink that far. The column skipCol is left alone while
// shrinking; a column already narrower than the minimum is not shrunk.
std::int32_t FitColumnsToWidth(std::vector<FitColumn>& columns, std::int32_t available, std::int32_t skipCol);

}  // namespace grid
