#include "grid/aligned_text.h"

#include <algorithm>
#include <vector>

#include "common/checked_int.h"

namespace grid {

using namespace common::checked;

namespace {

std::int32_t LineHeight(Canvas& canvas) { return canvas.TextExtent(L"gM").height; }

std::int32_t AlignedX(const Rect& rect, std::int32_t width, THorzAlign align) {
  switch (align) {
    case THorzAlign::haCenter: return Add(rect.left, Div(Sub(Sub(rect.right, rect.left), width), 2));
    case THorzAlign::haRight: return Sub(rect.right, width);
    case THorzAlign::haLeft: break;
  }
  return rect.left;
}

std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  for (;;) {
    std::size_t semicolon = text.find(L';');
    lines.push_back(text.substr(0, semicolon));
    if (semicolon == std::wstring_view::npos) return lines;
    text.remove_prefix(semicolon + 1);
  }
}

}  // namespace

Point DrawAlignedText(Canvas& canvas, std::wstring_view text, const Rect& rect, bool flushRight, TVertAlign vertAlign,
                      THorzAlign horzAlign) {
  const std::int32_t width = canvas.TextExtent(text).width;
  const std::int32_t height = LineHeight(canvas);
  std::int32_t x = AlignedX(rect, width, horzAlign);
  if (horzAlign == THorzAlign::haLeft && flushRight && width > Sub(rect.right, rect.left)) x = Sub(rect.right, width);
  std::int32_t y = rect.top;
  if (vertAlign == TVertAlign::vaCenter) y = Add(rect.top, Div(Sub(Sub(rect.bottom, rect.top), height), 2));
  if (vertAlign == TVertAlign::vaBottom) y = Sub(rect.bottom, height);
  canvas.TextOut({x, y}, rect, text);
  return {std::min(Add(Add(x, width), 1), rect.right), Sub(rect.top, 1)};
}

void DrawMultilineText(Canvas& canvas, std::wstring_view text, const Rect& rect, TVertAlign vertAlign,
                       THorzAlign horzAlign) {
  if (text.find(L';') == std::wstring_view::npos) {
    DrawAlignedText(canvas, text, rect, false, vertAlign, horzAlign);
    return;
  }
  const std::vector<std::wstring_view> lines = SplitLines(text);
  const std::int32_t height = LineHeight(canvas);
  const std::int32_t count = Narrow(lines.size());
  for (std::int32_t i = 0; i < count; ++i) {
    const std::wstring_view line = lines[static_cast<std::size_t>(i)];
    std::int32_t y = Add(rect.top, Mul(i, height));
    if (vertAlign == TVertAlign::vaCenter)
      y = Add(Add(rect.top, Div(Sub(Sub(rect.bottom, rect.top), Mul(count, height)), 2)), Mul(i, height));
    if (vertAlign == TVertAlign::vaBottom) y = Sub(rect.bottom, Mul(Sub(count, i), height));
    canvas.TextOut({AlignedX(rect, canvas.TextExtent(line).width, horzAlign), y}, rect, line);
  }
}

}  // namespace grid
