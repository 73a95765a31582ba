// A window's accessible tree as a screen reader walks it from another process
// (AccessibleObjectFromWindow, AccessibleChildren, each object's name, value and role).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace monitor::win32::testing {

struct AccessibleNode {
  int depth;
  long role;
  std::wstring name;
  std::wstring value;
};

// The window's client object and every object below it, depth first; empty when the window
// gives none.
std::vector<AccessibleNode> AccessibleTreeOf(HWND window);

}  // namespace monitor::win32::testing
