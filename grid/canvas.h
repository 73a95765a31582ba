// What the grid needs of a drawing surface. The Win32 side implements it over a device
// context; tests record every call. Colours may be system colours: the canvas resolves them
// when it draws.
#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>

#include "grid/colour.h"
#include "grid/font.h"
#include "grid/geometry.h"

namespace grid {

enum class PenStyle { Solid, Dot };
enum class BrushStyle { Solid, Clear };

// The band between two rectangles: outer minus inner.
struct Ring {
  Rect outer;
  Rect inner;
  bool operator==(const Ring&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The font stays selected until the next SetFont: later measurements use it.
  virtual void SetFont(const Font& font) = 0;
  virtual Size TextExtent(std::wstring_view text) = 0;
  // A width above 1 is centred on the drawn line.
  virtual void SetPen(Colour colour, std::int32_t width = 1, PenStyle style = PenStyle::Solid) = 0;
  virtual void SetBrush(Colour colour, BrushStyle style = BrushStyle::Solid) = 0;

  // Fills with the brush colour, whatever the brush style.
  virtual void FillRect(const Rect& rect) = 0;
  // Outlines with the pen just inside the rectangle and fills the inside with the brush
  // (nothing with a clear brush).
  virtual void Rectangle(const Rect& rect) = 0;
  // Lines through the points with the pen; the last point itself is not drawn.
  virtual void Polyline(std::initializer_list<Point> points) = 0;
  // Text with its top-left corner at origin, in the font's colour, clipped to the rectangle,
  // without filling its background.
  virtual void TextOut(Point origin, const Rect& clip, std::wstring_view text) = 0;

  // Limits drawing to area, less the ring when one is given; until RemoveClip.
  virtual void ClipTo(const Rect& area, const std::optional<Ring>& exclude) = 0;
  virtual void RemoveClip() = 0;
};

}  // namespace grid
