// A recording stand-in for the grid's window: every invalidated rectangle and scroll-bar
// call is kept for the tests to check; the client area shrinks by 16 pixels for each shown
// scroll bar. Its canvas draws into test pixels (raster_canvas.h).
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "grid/tests/raster_canvas.h"
#include "grid/grid_host.h"

namespace grid {
inline void PrintTo(const Rect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
}  // namespace grid

namespace grid::testing {

struct ScrollBarCall {
  ScrollBarKind bar;
  std::int32_t maximum;
  unsigned mask;
  std::int32_t position;
  bool operator==(const ScrollBarCall&) const = default;
};

struct ShowBarsCall {
  bool horizontal;
  bool vertical;
  bool operator==(const ShowBarsCall&) const = default;
};

// The in-place editor's edit box: its state, and a change notification the test wires to
// the editor (as the window's edit control does).
class FakeEditBox : public InplaceEditBox {
 public:
  void SetText(const std::wstring& value) override {
    text = value;
    if (onChange) onChange();
  }
  std::wstring Text() const override { return text; }
  void SetColour(Colour value) override { colour = value; }
  void SetFont(const Font& value) override { font = value; }
  void RecreateWithAlignment(THorzAlign value) override {
    alignment = value;
    ++recreations;
  }
  void SetBounds(Point position, Size size) override { bounds = {position.x, position.y, position.x + size.width, position.y + size.height}; }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  bool Visible() const override { return visible; }

  // Typing into the box: the text changes and the box reports it.
  void Type(const std::wstring& value) { SetText(value); }

  std::wstring text;
  Colour colour = 0;
  Font font;
  THorzAlign alignment = THorzAlign::haLeft;
  int recreations = 0;
  Rect bounds;
  bool visible = false;
  std::function<void()> onChange;
};

class RecordingHost : public GridHost {
 public:
  static constexpr std::int32_t kBarThickness = 16;

  explicit RecordingHost(Size window = {200, 200}) : window(window), canvas(window) {}

  Size ClientSize() const override {
    return {window.width - (verticalBar ? kBarThickness : 0), window.height - (horizontalBar ? kBarThickness : 0)};
  }
  void Invalidate(const Rect& rect) override { invalidated.push_back(rect); }
  // Recorded as the strip it uncovers.
  void ScrollUp(const Rect& band, std::int32_t by) override {
    scrolled.push_back({band, by});
    invalidated.push_back({band.left, band.bottom - by, band.right, band.bottom});
  }
  void SetScrollBar(ScrollBarKind bar, std::int32_t maximum, unsigned mask, std::int32_t position) override {
    scrollBarCalls.push_back({bar, maximum, mask, position});
  }
  void ShowScrollBars(bool horizontal, bool vertical) override {
    showBarsCalls.push_back({horizontal, vertical});
    horizontalBar = horizontal;
    verticalBar = vertical;
  }
  Canvas& DrawingCanvas() override { return canvas; }
  bool Focused() const override { return focused; }
  void CreateCaret(std::int32_t width, std::int32_t height) override {
    calls.push_back("CreateCaret " + std::to_string(width) + "x" + std::to_string(height));
  }
  void DestroyCaret() override { calls.push_back("DestroyCaret"); }
  void ShowCaret() override { calls.push_back("ShowCaret"); }
  void HideCaret() override { calls.push_back("HideCaret"); }
  void SetCaretPos(Point p) override {
    calls.push_back("SetCaretPos " + std::to_string(p.x) + "," + std::to_string(p.y));
  }
  void SetCapture() override { calls.push_back("SetCapture"); }
  void ReleaseCapture() override { calls.push_back("ReleaseCapture"); }
  void SetFocus() override { calls.push_back("SetFocus"); }
  void SetCursor(std::int32_t number) override { cursor = number; }
  InplaceEditBox& EditBox() override { return editBox; }
  std::optional<std::wstring> ClipboardText() override { return clipboard; }
  void SetClipboardText(const std::wstring& text) override { clipboard = text; }

  void ClearRecords() {
    calls.clear();
    invalidated.clear();
    scrollBarCalls.clear();
    showBarsCalls.clear();
  }
  Rect Client() const { return {0, 0, ClientSize().width, ClientSize().height}; }

  Size window;
  bool horizontalBar = false;
  bool verticalBar = false;
  std::vector<Rect> invalidated;
  std::vector<std::pair<Rect, std::int32_t>> scrolled;
  std::vector<ScrollBarCall> scrollBarCalls;
  std::vector<ShowBarsCall> showBarsCalls;
  std::optional<std::wstring> clipboard;
  bool focused = false;
  RasterCanvas canvas;
  // Caret, capture and focus calls, in order.
  std::vector<std::string> calls;
  std::int32_t cursor = 101;
  FakeEditBox editBox;
};

}  // namespace grid::testing
