// The rectangles of a window's update region, read before a paint empties it, so that the
// grid draws only what meets them.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "grid/geometry.h"

namespace grid::win32 {

class UpdateRegion {
 public:
  // The whole client area when the region cannot be read.
  explicit UpdateRegion(HWND window);
  std::span<const Rect> Rects() const { return rects_; }

 private:
  void ReadRegion(HWND window);
  std::vector<Rect> rects_;
};

}  // namespace grid::win32
