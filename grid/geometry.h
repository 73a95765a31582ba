// Points, sizes and rectangles in 32-bit pixels (or cell indices), with the few operations
// layout and painting need. Moving and widening rectangles is overflow-checked.
#pragma once

#include <algorithm>
#include <cstdint>

#include "common/checked_int.h"

namespace grid {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const Size&) const = default;
};

// Right and bottom are exclusive for pixel rectangles, inclusive for blocks of cell indices.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const Rect&) const = default;

  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
};

inline Rect Offset(const Rect& r, std::int32_t dx, std::int32_t dy) {
  using namespace common::checked;
  return {Add(r.left, dx), Add(r.top, dy), Add(r.right, dx), Add(r.bottom, dy)};
}

// Widens by d on every side (narrows for a negative d).
inline Rect Inflate(const Rect& r, std::int32_t d) {
  using namespace common::checked;
  return {Sub(r.left, d), Sub(r.top, d), Add(r.right, d), Add(r.bottom, d)};
}

// The smallest rectangle holding both; an empty one adds nothing.
inline Rect Union(const Rect& a, const Rect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// True when the two rectangles share at least one pixel.
inline bool Intersects(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom && !a.IsEmpty() &&
         !b.IsEmpty();
}

}  // namespace grid
