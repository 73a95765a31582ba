// A recording stand-in for the grid's window: every invalidated rectangle and scroll-bar
// call is kept for the tests to check; the client area shrinks by 16 pixels for each shown
// scroll bar. Its canvas draws into test pixels (raster_canvas.h).
#pragma once

#include <optional>
#include <ostream>
#include <string>
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

class RecordingHost : public GridHost {
 public:
  static constexpr std::int32_t kBarThickness = 16;

  explicit RecordingHost(Size window = {200, 200}) : window(window), canvas(window) {}

  Size ClientSize() const override {
    return {window.width - (verticalBar ? kBarThickness : 0), window.height - (horizontalBar ? kBarThickness : 0)};
  }
  void Invalidate(const Rect& rect) override { invalidated.push_back(rect); }
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
  std::optional<std::wstring> ClipboardText() override { return clipboard; }
  void SetClipboardText(const std::wstring& text) override { clipboard = text; }

  void ClearRecords() {
    invalidated.clear();
    scrollBarCalls.clear();
    showBarsCalls.clear();
  }
  Rect Client() const { return {0, 0, ClientSize().width, ClientSize().height}; }

  Size window;
  bool horizontalBar = false;
  bool verticalBar = false;
  std::vector<Rect> invalidated;
  std::vector<ScrollBarCall> scrollBarCalls;
  std::vector<ShowBarsCall> showBarsCalls;
  std::optional<std::wstring> clipboard;
  bool focused = false;
  RasterCanvas canvas;
};

}  // namespace grid::testing
