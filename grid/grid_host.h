// What the grid needs of the window that shows it. The Win32 window implements it; tests
// record every call.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "grid/canvas.h"
#include "grid/geometry.h"
#include "grid/inplace_edit_box.h"

namespace grid {

enum class ScrollBarKind { Horizontal, Vertical };

// Which parts of a scroll bar's information to set.
namespace scroll_mask {
constexpr unsigned Range = 1;
constexpr unsigned Position = 2;
constexpr unsigned All = Range | Position;
}  // namespace scroll_mask

class GridHost {
 public:
  virtual ~GridHost() = default;

  // The client area as it is now (it shrinks when a scroll bar is shown).
  virtual Size ClientSize() const = 0;
  // Marks a client rectangle for repainting, without erasing.
  virtual void Invalidate(const Rect& rect) = 0;
  // Moves the picture inside band up by `by` pixels and marks the strip it uncovers for
  // repainting; a repaint still waiting inside the band moves with the picture.
  virtual void ScrollUp(const Rect& band, std::int32_t by) = 0;
  // Minimum 0, no proportional thumb; the bar is redrawn.
  virtual void SetScrollBar(ScrollBarKind bar, std::int32_t maximum, unsigned mask, std::int32_t position) = 0;
  virtual void ShowScrollBars(bool horizontal, bool vertical) = 0;
  // The canvas the grid measures and draws on outside a paint pass.
  virtual Canvas& DrawingCanvas() = 0;
  // Whether the grid's window has the keyboard focus.
  virtual bool Focused() const = 0;

  // The typing caret: created hidden when the grid gains the focus, destroyed when it loses it.
  virtual void CreateCaret(std::int32_t width, std::int32_t height) = 0;
  virtual void DestroyCaret() = 0;
  virtual void ShowCaret() = 0;
  virtual void HideCaret() = 0;
  virtual void SetCaretPos(Point position) = 0;
  // Mouse capture during a drag, keyboard focus, and the cursor shown over the grid.
  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual void SetFocus() = 0;
  virtual void SetCursor(std::int32_t number) = 0;
  // The in-place editor's edit box, a child of the grid's window.
  virtual InplaceEditBox& EditBox() = 0;

  // Clipboard as text; nothing when it holds no text.
  virtual std::optional<std::wstring> ClipboardText() = 0;
  virtual void SetClipboardText(const std::wstring& text) = 0;
};

}  // namespace grid
