#include "grid/fit_to_width.h"

#include "common/checked_int.h"

namespace grid {

// One pixel per resizable column per round, starting again at column 0 each round: whole
// rounds are applied at once, the remainder goes to the lowest indices.
std::int32_t FitColumnsToWidth(std::vector<FitColumn>& columns, std::int32_t available, std::int32_t skipCol) {
  using namespace common::checked;
  std::int32_t total = 0;
  for (const FitColumn& c : columns)
    if (c.visible) total = Add(total, c.width);
  if (total == available) return total;

  const bool grow = total < available;
  std::vector<FitColumn*> resizable;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    FitColumn& c = columns[i];
    if (c.visible && c.canResize && (grow || static_cast<std::int32_t>(i) != skipCol)) resizable.push_back(&c);
  }
  if (resizable.empty()) return total;

  const std::int32_t count = Narrow(resizable.size());
  const std::int32_t surplus = grow ? Sub(available, total) : Sub(total, available);
  const std::int32_t rounds = Div(surplus, count);
  const std::int32_t extra = Sub(surplus, Mul(rounds, count));
  const std::int32_t step = grow ? 1 : -1;
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t change = Mul(step, i < extra ? Add(rounds, 1) : rounds);
    resizable[static_cast<std::size_t>(i)]->width = Add(resizable[static_cast<std::size_t>(i)]->width, change);
  }
  return available;
}

}  // namespace grid
