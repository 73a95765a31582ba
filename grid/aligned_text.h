// Text placed inside a rectangle by horizontal and vertical alignment; ";" splits a fixed
// cell's caption into lines. Divisions truncate toward zero.
#pragma once

#include <string_view>

#include "grid/canvas.h"
#include "grid/grid_types.h"

namespace grid {

// Draws the text and returns the caret point just after it: (min(end + 1, right), top - 1).
// With flushRight a left-aligned text wider than the rectangle ends at its right edge, so
// the end of what is being typed stays in view.
Point DrawAlignedText(Canvas& canvas, std::wstring_view text, const Rect& rect, bool flushRight, TVertAlign vertAlign,
                      THorzAlign horzAlign);

// Each ";"-separated part on its own line, the block of lines aligned as a whole.
void DrawMultilineText(Canvas& canvas, std::wstring_view text, const Rect& rect, TVertAlign vertAlign,
                       THorzAlign horzAlign);

}  // namespace grid
