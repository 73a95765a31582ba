// A window's update region and its rectangles, read before a paint empties it, so that the
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
  ~UpdateRegion();
  UpdateRegion(const UpdateRegion&) = delete;
  UpdateRegion& operator=(const UpdateRegion&) = delete;

  // Whether the window was waiting for a paint.
  bool Waiting() const { return waiting_; }
  std::span<const Rect> Rects() const { return rects_; }
  // The region itself, in client coordinates, while Waiting.
  HRGN Region() const { return region_; }
  // Marks the region as painted.
  void Validate(HWND window) const;

 private:
  void ReadRectangles();
  HRGN region_;
  bool waiting_ = false;
  std::vector<Rect> rects_;
};

}  // namespace grid::win32
