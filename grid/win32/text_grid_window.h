// The grid's window: a child window with both scroll-bar styles that shows a TTextGrid, turns
// each window message into one call of the grid, and serves as the grid's host (client size,
// repainting, scroll bars, canvas, focus, clipboard).
//
//   grid::win32::TextGridWindow callList(form, {8, 8, 608, 258});
//   grid::TTextGrid& grid = callList.Grid();  // configure and use the grid
#pragma once

#include <windows.h>

#include <memory>

#include "grid/grid_host.h"
#include "grid/text_grid.h"
#include "grid/win32/accessible_slot.h"
#include "grid/win32/deferred_scroll_bars.h"
#include "grid/win32/gdi_canvas.h"
#include "grid/win32/inplace_edit_win32.h"

namespace grid::win32 {

class TextGridWindow : public GridHost {
 public:
  static constexpr const wchar_t* kClassName = L"TTextGrid";

  // Creates the window as a visible child of parent, in parent's client coordinates.
  TextGridWindow(HWND parent, const RECT& bounds, int controlId = 0);
  ~TextGridWindow() override;
  TextGridWindow(const TextGridWindow&) = delete;
  TextGridWindow& operator=(const TextGridWindow&) = delete;

  HWND Handle() const { return window_; }
  TTextGrid& Grid() { return grid_; }
  // Paints what waits to be painted at once, through the window's own DC, without the round
  // trips of a paint message; the frame's bars, if any, still come with the next one.
  void PaintNow();

  Size ClientSize() const override;
  void Invalidate(const Rect& rect) override;
  void ScrollUp(const Rect& band, std::int32_t by) override;
  void SetScrollBar(ScrollBarKind bar, std::int32_t maximum, unsigned mask, std::int32_t position) override;
  void ShowScrollBars(bool horizontal, bool vertical) override;
  Canvas& DrawingCanvas() override { return *canvas_; }
  bool Focused() const override;
  void CreateCaret(std::int32_t width, std::int32_t height) override;
  void DestroyCaret() override;
  void ShowCaret() override;
  void HideCaret() override;
  void SetCaretPos(Point position) override;
  void SetCapture() override;
  void ReleaseCapture() override;
  void SetFocus() override;
  void SetCursor(std::int32_t number) override;
  InplaceEditBox& EditBox() override { return editBox_; }
  HWND EditorHandle() const { return editBox_.Handle(); }
  std::optional<std::wstring> ClipboardText() override;
  void SetClipboardText(const std::wstring& text) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  bool OnSetCursor(LPARAM lParam);
  bool OnMouse(UINT message, WPARAM wParam, LPARAM lParam);

  TTextGrid grid_{*this};
  InplaceEditWin32 editBox_{grid_.InplaceEditor()};
  HWND window_ = nullptr;
  // Over the window's own device context, which keeps its font between drawings.
  std::unique_ptr<GdiCanvas> canvas_;
  DeferredScrollBars scrollBars_;
  AccessibleSlot accessible_;  // after grid_, which its object reads
};

}  // namespace grid::win32
