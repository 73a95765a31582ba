// The grid's window under Wine: a real window with its scroll bars and background handling,
// and the grid rendered through the GDI canvas into a real bitmap, checked pixel by pixel.
#include <windows.h>

#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "grid/win32/gdi_canvas.h"
#include "grid/win32/tests/test_window.h"
#include "grid/win32/text_grid_window.h"

namespace grid::win32 {
namespace {

using testing::MemoryBitmap;
using testing::ParentWindow;

constexpr Colour kStripe = 0x00E0F0E0;

// Three columns of 60 pixels in a 400 x 200 client area, no gutter, 6 rows: cell (c, r)
// covers x 60c - 1 .. 60c + 59 and y 18r + 17 .. 18r + 36.
class GridWindowPaint : public ::testing::Test {
 protected:
  GridWindowPaint() : window(parent.Handle(), {0, 0, 404, 204}) {
    TTextGrid& grid = window.Grid();
    grid.SetGutterKind(TGutterKind::gkNone);
    grid.SetColCount(3);
    for (std::int32_t i = 0; i < 3; ++i) grid.Columns()[i].SetWidth(60);
    grid.Columns()[0].SetTitle(L"Sıra");
    grid.Columns()[1].SetTitle(L"HatNo");
    grid.Columns()[2].SetTitle(L"Zaman");
    grid.SetRowCount(6);
  }
  void Render() {
    GdiCanvas canvas(bitmap.Dc());
    window.Grid().Paint(canvas);
  }
  COLORREF Inside(int col, int row) const { return bitmap.At(60 * col + 30, 18 * row + 27); }

  ParentWindow parent;
  TextGridWindow window;
  MemoryBitmap bitmap{400, 200};
};

TEST_F(GridWindowPaint, ClientAreaIsTheWindowLessItsBorder) {
  EXPECT_EQ(window.ClientSize(), (Size{400, 200}));
}

TEST_F(GridWindowPaint, CellsShowStripesAndSystemColoursResolvedAtDrawTime) {
  window.Grid().SetAlternateColor(kStripe);
  Render();
  EXPECT_EQ(Inside(0, 0), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(Inside(1, 1), ResolveColour(kStripe));
  EXPECT_EQ(Inside(2, 2), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(bitmap.At(59, 60), GetSysColor(COLOR_BTNFACE)) << "grid line between columns 0 and 1";
}

TEST_F(GridWindowPaint, HeaderCellsHaveTheirEdges) {
  window.Grid().SetFlat(false);
  Render();
  // Header cell of column 1: (59, -1)..(120, 18).
  EXPECT_EQ(bitmap.At(59, 9), RGB(0, 0, 0)) << "black outline";
  EXPECT_EQ(bitmap.At(60, 9), GetSysColor(COLOR_BTNHIGHLIGHT)) << "light left edge";
  EXPECT_EQ(bitmap.At(118, 9), GetSysColor(COLOR_BTNSHADOW)) << "dark right edge";
  EXPECT_EQ(bitmap.At(90, 9), GetSysColor(COLOR_BTNFACE));
}

TEST_F(GridWindowPaint, TheSelectionShowsItsColourAndAFrame) {
  window.Grid().SetSelectArea({0, 1, 1, 2}, false);  // the current cell (0, 0) is outside
  Render();
  EXPECT_EQ(Inside(1, 2), RGB(0xFF, 0xFF, 0xCA));
  // Block (-1, 35)..(120, 72); the unfocused frame is 3 pixels of grid colour around it.
  EXPECT_EQ(bitmap.At(90, 35), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(bitmap.At(90, 34), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(bitmap.At(90, 36), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(bitmap.At(90, 38), RGB(0xFF, 0xFF, 0xCA));
  // The fill handle at the bottom-right corner (117, 69)..(123, 75): white outline.
  EXPECT_EQ(bitmap.At(117, 72), RGB(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(window.Grid().FillHandleRect(), (Rect{117, 69, 123, 75}));
}

TEST_F(GridWindowPaint, TheBackgroundFillsWhatTheTableDoesNotCover) {
  window.Grid().SetColor(RGB(10, 20, 30));
  Render();
  EXPECT_EQ(bitmap.At(300, 50), RGB(10, 20, 30));
  EXPECT_EQ(bitmap.At(50, 190), RGB(10, 20, 30));
}

TEST_F(GridWindowPaint, TextIsDrawnInTheCellsFontColour) {
  Font font = window.Grid().Font();
  font.name = L"Arial";
  font.height = -15;
  font.colour = RGB(200, 0, 0);
  window.Grid().SetFont(font);
  window.Grid().SetCells(1, 3, L"MMMM");
  Render();
  int red = 0;
  for (int y = 71; y < 90; ++y)
    for (int x = 60; x < 119; ++x) red += bitmap.At(x, y) == RGB(200, 0, 0);
  EXPECT_GT(red, 20);
}

TEST(GridWindow, ScrollBarsFollowTheLayout) {
  ParentWindow parent;
  TextGridWindow window(parent.Handle(), {0, 0, 204, 204});
  const auto style = [&] { return GetWindowLongW(window.Handle(), GWL_STYLE); };
  EXPECT_FALSE(style() & WS_VSCROLL) << "hidden right after creation";
  EXPECT_FALSE(style() & WS_HSCROLL);
  window.Grid().SetColCount(2);
  window.Grid().SetRowCount(30);
  EXPECT_TRUE(style() & WS_VSCROLL);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(window.Handle(), SB_VERT, &info);
  EXPECT_EQ(info.nMax, window.Grid().VScrollMax());
  EXPECT_EQ(info.nPage, 0u);
  window.Grid().SetVScrollPos(36);
  GetScrollInfo(window.Handle(), SB_VERT, &info);
  EXPECT_EQ(info.nPos, 36);
  window.Grid().SetRowCount(2);
  EXPECT_FALSE(style() & WS_VSCROLL);
}

// Counts the frame paints one window receives from this thread.
class FramePaints {
 public:
  explicit FramePaints(HWND window) {
    window_ = window;
    count_ = 0;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Count, nullptr, GetCurrentThreadId());
  }
  ~FramePaints() { UnhookWindowsHookEx(hook_); }
  FramePaints(const FramePaints&) = delete;
  FramePaints& operator=(const FramePaints&) = delete;
  int Count() const { return count_; }

 private:
  static LRESULT CALLBACK Count(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == window_ && sent->message == WM_NCPAINT) ++count_;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline HWND window_ = nullptr;
  static inline int count_ = 0;
  HHOOK hook_;
};

// What the vertical bar shows on the screen now, pixel by pixel.
std::vector<COLORREF> VerticalBarPixels(HWND window) {
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  GetScrollBarInfo(window, OBJID_VSCROLL, &bar);
  RECT frame;
  GetWindowRect(window, &frame);
  const int width = bar.rcScrollBar.right - bar.rcScrollBar.left;
  const int height = bar.rcScrollBar.bottom - bar.rcScrollBar.top;
  MemoryBitmap copy(width, height);
  HDC dc = GetWindowDC(window);
  BitBlt(copy.Dc(), 0, 0, width, height, dc, bar.rcScrollBar.left - frame.left, bar.rcScrollBar.top - frame.top,
         SRCCOPY);
  ReleaseDC(window, dc);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(copy.At(x, y));
  return pixels;
}

TEST(GridWindow, ScrollBarsTakeNewValuesAtOnceAndAreDrawnOnceOnlyWhenTheyChanged) {
  ParentWindow parent(true);
  TextGridWindow window(parent.Handle(), {0, 0, 204, 104});
  TTextGrid& grid = window.Grid();
  grid.SetColCount(2);
  grid.SetRowCount(20);
  testing::PumpWaitingMessages();
  const FramePaints framePaints(window.Handle());

  // A row off the top and one added at the end, as each call does: the bar ends where it was.
  grid.DeleteRow(0);
  grid.AddRow();
  testing::PumpWaitingMessages();
  EXPECT_EQ(framePaints.Count(), 0);

  const std::vector<COLORREF> drawn = VerticalBarPixels(window.Handle());
  grid.SetVScrollPos(grid.VScrollMax());
  EXPECT_EQ(GetScrollPos(window.Handle(), SB_VERT), grid.VScrollMax()) << "the bar holds it before it is drawn";
  EXPECT_EQ(VerticalBarPixels(window.Handle()), drawn);
  testing::PumpWaitingMessages();
  EXPECT_EQ(framePaints.Count(), 1);
  EXPECT_NE(VerticalBarPixels(window.Handle()), drawn) << "the thumb at the bottom";

  // A paint asked for at once (no message loop in between) draws the changed bar with it.
  grid.SetVScrollPos(0);
  UpdateWindow(window.Handle());
  EXPECT_EQ(framePaints.Count(), 2);
}

// The window's client area as it shows now, pixel by pixel.
std::vector<COLORREF> ClientPixels(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  MemoryBitmap copy(client.right, client.bottom);
  HDC dc = GetDC(window);
  BitBlt(copy.Dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  return copy.Pixels();
}

// Rows taken out, added or put in repaint only what they changed, and rows moved up are moved
// as a picture: what the window then shows, painted by a paint message or at once, equals a
// repaint of everything, whatever the selection, gutter, scrolling, stripes, grid lines or
// repaints still waiting.
TEST(GridWindow, RowChangesShowWhatAWholeRepaintShows) {
  struct Case {
    const char* name;
    std::function<void(TTextGrid&)> setUp, change;
  };
  const auto call = [](TTextGrid& grid) {
    while (grid.RowCount() > 10) grid.DeleteRow(0);
    const std::int32_t row = grid.AddRow();
    grid.BeginUpdate();
    for (std::int32_t col = 0; col < grid.ColCount(); ++col)
      grid.SetCells(col, row, std::to_wstring(col) + L"-05321234567");
    grid.EndUpdate();
  };
  const auto noGridLines = [](TTextGrid& grid) {
    grid.SetShowGrid(false);
    grid.SetAlternateColor(kStripe);
  };
  const std::vector<Case> cases{
      {"a call on a full list", [](TTextGrid&) {}, call},
      {"a call with a block selected", [](TTextGrid& grid) { grid.SetSelectArea({0, 3, 1, 5}, false); }, call},
      {"numbered rows", [](TTextGrid& grid) { grid.SetGutterKind(TGutterKind::gkNumber); },
       [](TTextGrid& grid) { grid.DeleteRow(2); }},
      {"scrolled down", [](TTextGrid& grid) { grid.SetRowCount(30); grid.SetVScrollPos(36); },
       [](TTextGrid& grid) { grid.DeleteRow(1); grid.InsertRow(4); }},
      {"striped rows", [](TTextGrid& grid) { grid.SetAlternateColor(kStripe); }, call},
      {"a row added to striped rows without grid lines",
       [&](TTextGrid& grid) {
         noGridLines(grid);
         grid.SetRowCount(8);
       },
       call},
      {"one cell without grid lines", noGridLines,
       [](TTextGrid& grid) {
         grid.BeginUpdate();
         grid.SetCells(1, 5, L"changed");
         grid.EndUpdate();
       }},
      {"the last row taken out", [](TTextGrid&) {}, [](TTextGrid& grid) { grid.DeleteRow(10); }},
      {"a repaint still waiting", [](TTextGrid&) {},
       [](TTextGrid& grid) {
         grid.BeginUpdate();
         grid.SetCells(1, 5, L"changed");
         grid.EndUpdate();
         grid.DeleteRow(0);
       }},
  };
  ParentWindow parent(true, 500, 320);  // one shown window for all: showing one costs seconds
  for (const bool paintNow : {false, true})
  for (const Case& test : cases) {
    TextGridWindow window(parent.Handle(), {0, 0, 404, 234});
    TTextGrid& grid = window.Grid();
    grid.SetGutterKind(TGutterKind::gkNone);
    grid.SetColCount(4);
    grid.SetRowCount(11);
    for (std::int32_t row = 0; row < 11; ++row)
      for (std::int32_t col = 0; col < 4; ++col) grid.SetCells(col, row, std::to_wstring(100 * row + col));
    test.setUp(grid);
    UpdateWindow(window.Handle());
    test.change(grid);
    if (paintNow) {
      window.PaintNow();
      EXPECT_FALSE(GetUpdateRect(window.Handle(), nullptr, FALSE)) << test.name << ": nothing left to paint";
    } else {
      UpdateWindow(window.Handle());
    }
    const std::vector<COLORREF> changed = ClientPixels(window.Handle());
    InvalidateRect(window.Handle(), nullptr, FALSE);
    UpdateWindow(window.Handle());
    const std::vector<COLORREF> whole = ClientPixels(window.Handle());
    const auto wrong = std::inner_product(changed.begin(), changed.end(), whole.begin(), 0, std::plus<>(),
                                          std::not_equal_to<>());
    EXPECT_EQ(wrong, 0) << test.name << (paintNow ? ", painted at once" : "") << ": pixels unlike a whole repaint";
  }
}

TEST(GridWindow, SizeChangesRelayOutTheColumns) {
  ParentWindow parent;
  TextGridWindow window(parent.Handle(), {0, 0, 304, 104});
  window.Grid().SetGutterKind(TGutterKind::gkNone);
  window.Grid().SetColCount(3);
  window.Grid().SetRowCount(1);
  window.Grid().SetFitToWidth(true);
  EXPECT_EQ(window.Grid().ColumnsWidth(), 300);
  SetWindowPos(window.Handle(), nullptr, 0, 0, 454, 104, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(window.Grid().ColumnsWidth(), 450);
  EXPECT_EQ(window.Grid().Columns()[0].Width(), 150);
}

TEST(GridWindow, BackgroundEraseIsAnsweredWithoutErasing) {
  ParentWindow parent;
  TextGridWindow window(parent.Handle(), {0, 0, 104, 104});
  MemoryBitmap bitmap(10, 10);
  const COLORREF before = bitmap.At(5, 5);
  EXPECT_NE(SendMessageW(window.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(bitmap.Dc()), 0), 0);
  EXPECT_EQ(bitmap.At(5, 5), before);
}

TEST(GridWindow, TheShownWindowPaintsItself) {
  ParentWindow parent(true, 400, 300);
  TextGridWindow window(parent.Handle(), {10, 10, 314, 214});
  window.Grid().SetGutterKind(TGutterKind::gkNone);
  window.Grid().SetColCount(2);
  window.Grid().SetColor(RGB(0, 128, 0));
  UpdateWindow(window.Handle());
  testing::PumpWaitingMessages();
  HDC dc = GetDC(window.Handle());
  EXPECT_EQ(GetPixel(dc, 250, 100), RGB(0, 128, 0)) << "background right of the columns";
  EXPECT_EQ(GetPixel(dc, 40, 27), GetSysColor(COLOR_WINDOW)) << "a cell";
  ReleaseDC(window.Handle(), dc);
}

}  // namespace
}  // namespace grid::win32
