#include "grid/fit_to_width.h"

#include <algorithm>

#include "common/checked_int.h"

namespace grid {

using namespace common::checked;

namespace {

// How many pixels a column can still give up while shrinking: one narrower than the minimum
// already gives none.
std::int32_t Room(const FitColumn& column) { return std::max(0, Sub(column.width, kMinFitWidth)); }

// Takes `surplus` pixels, one per column per round in index order, from columns that still
// have room; a column at its minimum drops out of the rounds. Answers what could not be taken.
std::int32_t Shrink(std::vector<FitColumn*> columns, std::int32_t surplus) {
  while (surplus > 0) {
    std::erase_if(columns, [](const FitColumn* c) { return Room(*c) == 0; });
    if (columns.empty()) break;
    const std::int32_t count = Narrow(columns.size());
    std::int32_t least = Room(*columns.front());
    for (const FitColumn* c : columns) least = std::min(least, Room(*c));
    // Whole rounds while every column keeps room, then the remainder to the lowest indices.
    const std::int32_t rounds = std::min(Div(surplus, count), least);
    if (rounds > 0) {
      for (FitColumn* c : columns) c->width = Sub(c->width, rounds);
      surplus = Sub(surplus, Mul(rounds, count));
      continue;
    }
    for (std::int32_t i = 0; i < count && surplus > 0; ++i) {
      columns[static_cast<std::size_t>(i)]->width = Sub(columns[static_cast<std::size_t>(i)]->width, 1);
      surplus = Sub(surplus, 1);
    }
  }
  return surplus;
}

void Grow(const std::vector<FitColumn*>& columns, std::int32_t surplus) {
  const std::int32_t count = Narrow(columns.size());
  const std::int32_t rounds = Div(surplus, count);
  const std::int32_t extra = Sub(surplus, Mul(rounds, count));
  for (std::int32_t i = 0; i < count; ++i) {
    FitColumn& c = *columns[static_cast<std::size_t>(i)];
    c.width = Add(c.width, i < extra ? Add(rounds, 1) : rounds);
  }
}

}  // namespace

// One pixel per resizable column per round, starting again at column 0 each round: whole
// rounds are applied at once, the remainder goes to the lowest indices.
std::int32_t FitColumnsToWidth(std::vector<FitColumn>& columns, std::int32_t available, std::int32_t skipCol) {
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
  if (grow) {
    Grow(resizable, Sub(available, total));
    return available;
  }
  return Add(available, Shrink(std::move(resizable), Sub(total, available)));
}

}  // namespace grid
