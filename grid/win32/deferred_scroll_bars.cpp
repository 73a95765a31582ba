#include "grid/win32/deferred_scroll_bars.h"

namespace grid::win32 {
namespace {

SCROLLINFO Current(HWND window, int bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (!GetScrollInfo(window, bar, &info)) info.fMask = 0;
  return info;
}

// Whether `current` holds the values `wanted` sets (its fMask says which).
bool Holds(const SCROLLINFO& current, const SCROLLINFO& wanted) {
  if (!current.fMask) return false;
  if ((wanted.fMask & SIF_RANGE) && (current.nMin != wanted.nMin || current.nMax != wanted.nMax)) return false;
  if ((wanted.fMask & SIF_PAGE) && current.nPage != wanted.nPage) return false;
  if ((wanted.fMask & SIF_POS) && current.nPos != wanted.nPos) return false;
  return true;
}

// The bar's place in the window's client coordinates (outside the client area), or nothing
// while the bar is hidden.
std::optional<RECT> BarRect(HWND window, int bar) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (!GetScrollBarInfo(window, bar == SB_HORZ ? OBJID_HSCROLL : OBJID_VSCROLL, &info)) return std::nullopt;
  if (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) return std::nullopt;
  RECT rect = info.rcScrollBar;
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

void DeferredScrollBars::Set(HWND window, int bar, const SCROLLINFO& info) {
  if (Holds(Current(window, bar), info)) return;
  SetScrollInfo(window, bar, &info, FALSE);
  setSinceRedraw_ = true;
  if (!redrawPosted_) redrawPosted_ = PostMessageW(window, kRedrawMessage, 0, 0) != FALSE;
}

void DeferredScrollBars::RedrawMessageArrived(HWND window) {
  redrawPosted_ = false;
  RedrawChanged(window);
}

void DeferredScrollBars::RedrawChanged(HWND window) {
  if (!setSinceRedraw_) return;
  setSinceRedraw_ = false;
  for (int bar : {SB_HORZ, SB_VERT}) {
    const SCROLLINFO now = Current(window, bar);
    std::optional<SCROLLINFO>& drawn = drawn_[bar == SB_HORZ ? 0 : 1];
    if (drawn && Holds(now, *drawn)) continue;
    drawn = now;
    if (const auto rect = BarRect(window, bar))
      RedrawWindow(window, &*rect, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
  }
}

}  // namespace grid::win32
