// A window and canvas that do nothing, so that benchmarks measure only the grid's own work.
#pragma once

#include <optional>
#include <string>

#include "grid/grid_host.h"

namespace grid::bench {

class NullCanvas : public Canvas {
 public:
  void SetFont(const Font&) override {}
  Size TextExtent(std::wstring_view text) override { return {static_cast<std::int32_t>(text.size()) * 7, 13}; }
  void SetPen(Colour, std::int32_t, PenStyle) override {}
  void SetBrush(Colour, BrushStyle) override {}
  void FillRect(const Rect&) override { ++calls; }
  void Rectangle(const Rect&) override { ++calls; }
  void Polyline(std::initializer_list<Point>) override { ++calls; }
  void TextOut(Point, const Rect&, std::wstring_view) override { ++calls; }
  void ClipTo(const Rect&, const std::optional<Ring>&) override {}
  void RemoveClip() override {}

  long calls = 0;
};

class NullHost : public GridHost {
 public:
  Size ClientSize() const override { return {600, 250}; }
  void Invalidate(const Rect&) override {}
  void ScrollUp(const Rect&, std::int32_t) override {}
  void SetScrollBar(ScrollBarKind, std::int32_t, unsigned, std::int32_t) override {}
  void ShowScrollBars(bool, bool) override {}
  Canvas& DrawingCanvas() override { return canvas; }
  bool Focused() const override { return true; }
  void CreateCaret(std::int32_t, std::int32_t) override {}
  void DestroyCaret() override {}
  void ShowCaret() override {}
  void HideCaret() override {}
  void SetCaretPos(Point) override {}
  void SetCapture() override {}
  void ReleaseCapture() override {}
  void SetFocus() override {}
  void SetCursor(std::int32_t) override {}
  InplaceEditBox& EditBox() override { return editBox; }
  std::optional<std::wstring> ClipboardText() override { return std::nullopt; }
  void SetClipboardText(const std::wstring&) override {}

  NullCanvas canvas;

  class NullEditBox : public InplaceEditBox {
   public:
    void SetText(const std::wstring&) override {}
    std::wstring Text() const override { return {}; }
    void SetColour(Colour) override {}
    void SetFont(const Font&) override {}
    void RecreateWithAlignment(THorzAlign) override {}
    void SetBounds(Point, Size) override {}
    void Show() override {}
    void Hide() override {}
    bool Visible() const override { return false; }
  } editBox;
};

}  // namespace grid::bench
