// What the grid needs of a drawing surface. The Win32 side implements it over a device
// context; tests record every call.
#pragma once

#include <string_view>

#include "grid/font.h"
#include "grid/geometry.h"

namespace grid {

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The font stays selected until the next SetFont: later measurements use it.
  virtual void SetFont(const Font& font) = 0;
  virtual Size TextExtent(std::wstring_view text) = 0;
};

}  // namespace grid
