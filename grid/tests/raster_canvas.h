// A canvas for tests that draws into a grid of colour values (system colours stay
// unresolved, so a pixel reads back as the very value the grid chose) and records every
// text and clip call. Text is 7 pixels per character and 13 high and is recorded, not drawn.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "grid/canvas.h"

namespace grid::testing {

struct DrawnText {
  std::wstring text;
  Point origin;
  Rect clip;
  Colour colour;
};

struct ClipCall {
  std::optional<Rect> area;  // none: clipping removed
  std::optional<Ring> exclude;
  bool operator==(const ClipCall&) const = default;
};

class RasterCanvas : public Canvas {
 public:
  static constexpr std::int32_t kCharWidth = 7;
  static constexpr std::int32_t kTextHeight = 13;
  static constexpr Colour kUnpainted = 0x7F7F7F7F;

  explicit RasterCanvas(Size size = {0, 0}) { Resize(size); }

  void Resize(Size size) {
    size_ = size;
    pixels_.assign(static_cast<std::size_t>(std::max(0, size.width * size.height)), kUnpainted);
  }
  void Clear() {
    Resize(size_);
    texts.clear();
    clips.clear();
    measured.clear();
  }
  Colour At(std::int32_t x, std::int32_t y) const { return pixels_.at(static_cast<std::size_t>(y * size_.width + x)); }
  const Font& CurrentFont() const { return font_; }
  // Texts drawn, in order.
  std::vector<std::wstring> TextsDrawn() const {
    std::vector<std::wstring> out;
    for (const DrawnText& t : texts) out.push_back(t.text);
    return out;
  }
  const DrawnText* FindText(const std::wstring& text) const {
    for (const DrawnText& t : texts)
      if (t.text == text) return &t;
    return nullptr;
  }

  void SetFont(const Font& font) override { font_ = font; }
  Size TextExtent(std::wstring_view text) override {
    measured.emplace_back(text);
    return {static_cast<std::int32_t>(text.size()) * kCharWidth, kTextHeight};
  }
  void SetPen(Colour colour, std::int32_t width, PenStyle style) override {
    penColour_ = colour;
    penWidth_ = width;
    penStyle_ = style;
  }
  void SetBrush(Colour colour, BrushStyle style) override {
    brushColour_ = colour;
    brushStyle_ = style;
  }
  void FillRect(const Rect& r) override { Fill(r, brushColour_); }
  void Rectangle(const Rect& r) override {
    const std::int32_t half = penWidth_ / 2;
    if (brushStyle_ == BrushStyle::Solid) Fill({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, brushColour_);
    for (std::int32_t d = -half; d <= half; ++d) {
      Line({r.left + d, r.top - half}, {r.left + d, r.bottom + half});
      Line({r.right - 1 + d, r.top - half}, {r.right - 1 + d, r.bottom + half});
      Line({r.left - half, r.top + d}, {r.right + half, r.top + d});
      Line({r.left - half, r.bottom - 1 + d}, {r.right + half, r.bottom - 1 + d});
    }
  }
  void Polyline(std::initializer_list<Point> points) override {
    const Point* previous = nullptr;
    for (const Point& p : points) {
      if (previous) Line(*previous, p);
      previous = &p;
    }
  }
  void TextOut(Point origin, const Rect& clip, std::wstring_view text) override {
    texts.push_back({std::wstring(text), origin, clip, font_.colour});
  }
  void ClipTo(const Rect& area, const std::optional<Ring>& exclude) override {
    clip_ = area;
    exclude_ = exclude;
    clips.push_back({area, exclude});
  }
  void RemoveClip() override {
    clip_.reset();
    exclude_.reset();
    clips.push_back({});
  }

  std::vector<DrawnText> texts;
  std::vector<ClipCall> clips;
  std::vector<std::wstring> measured;

 private:
  void Plot(std::int32_t x, std::int32_t y, Colour colour) {
    if (x < 0 || y < 0 || x >= size_.width || y >= size_.height) return;
    const Point p{x, y};
    if (clip_ && !clip_->Contains(p)) return;
    if (exclude_ && exclude_->outer.Contains(p) && !exclude_->inner.Contains(p)) return;
    pixels_[static_cast<std::size_t>(y * size_.width + x)] = colour;
  }
  void Fill(const Rect& r, Colour colour) {
    for (std::int32_t y = r.top; y < r.bottom; ++y)
      for (std::int32_t x = r.left; x < r.right; ++x) Plot(x, y, colour);
  }
  // Horizontal, vertical or diagonal lines, without their end point.
  void Line(Point from, Point to) {
    const std::int32_t steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
    for (std::int32_t i = 0; i < steps; ++i) {
      if (penStyle_ == PenStyle::Dot && i % 2 == 1) continue;
      Plot(from.x + (to.x - from.x) * i / std::max(steps, 1), from.y + (to.y - from.y) * i / std::max(steps, 1),
           penColour_);
    }
  }

  Size size_;
  std::vector<Colour> pixels_;
  Font font_;
  Colour penColour_ = clBlack;
  std::int32_t penWidth_ = 1;
  PenStyle penStyle_ = PenStyle::Solid;
  Colour brushColour_ = clWhite;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  std::optional<Rect> clip_;
  std::optional<Ring> exclude_;
};

}  // namespace grid::testing
