// A window's scroll bars take new values at once but are drawn again only when a change is
// complete (after the message that made it, or before the next paint), and only where the
// values differ from what the bar last showed. A layout sets the bars more than once, and a
// row taken off and one added leave them where they were; each immediate redraw is a frame
// paint of its own, which under Wine costs milliseconds.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

namespace grid::win32 {

class DeferredScrollBars {
 public:
  // Posted to the window once per change; its procedure answers it with RedrawMessageArrived.
  static constexpr UINT kRedrawMessage = WM_USER + 0x5B;

  // bar is SB_HORZ or SB_VERT; info.fMask says which values are set.
  void Set(HWND window, int bar, const SCROLLINFO& info);
  void RedrawMessageArrived(HWND window);
  // After a Set: asks for the frame of each visible bar whose values differ from what it last
  // showed. The window calls it before it paints, too.
  void RedrawChanged(HWND window);

 private:
  bool redrawPosted_ = false;
  bool setSinceRedraw_ = false;
  std::array<std::optional<SCROLLINFO>, 2> drawn_;  // SB_HORZ, SB_VERT
};

}  // namespace grid::win32
