// The shift state of keyboard and mouse messages, in the grid's terms.
#pragma once

#include <windows.h>

#include "grid/grid_types.h"

namespace grid::win32 {

inline TShiftState KeyShiftState() {
  TShiftState state = 0;
  if (GetKeyState(VK_SHIFT) < 0) state |= shift::ssShift;
  if (GetKeyState(VK_CONTROL) < 0) state |= shift::ssCtrl;
  if (GetKeyState(VK_MENU) < 0) state |= shift::ssAlt;
  return state;
}

// From a mouse message's key flags.
inline TShiftState MouseShiftState(WPARAM flags) {
  TShiftState state = 0;
  if (flags & MK_SHIFT) state |= shift::ssShift;
  if (flags & MK_CONTROL) state |= shift::ssCtrl;
  if (GetKeyState(VK_MENU) < 0) state |= shift::ssAlt;
  if (flags & MK_LBUTTON) state |= shift::ssLeft;
  if (flags & MK_RBUTTON) state |= shift::ssRight;
  if (flags & MK_MBUTTON) state |= shift::ssMiddle;
  return state;
}

}  // namespace grid::win32
