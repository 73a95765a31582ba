// Subclassing a window with a chain of procedures kept in this process, as the common
// controls' subclassing does with a window property: looking one up is a round trip to the
// window server under Wine, paid by every message the window gets. Same use: the newest
// procedure hears a message first and passes it on with CallNextSubclass; all of a window's
// procedures leave it with its WM_NCDESTROY. Only the thread that owns the window may use it.
#pragma once

#include <windows.h>

namespace tray {

using SubclassProcedure = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM, UINT_PTR id, DWORD_PTR data);

// Adds the procedure, or gives an added one new data; false when the window cannot take it.
bool AddSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR data);
void RemoveSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id);
// From inside a subclass procedure: the next older one, or the window's own procedure.
LRESULT CallNextSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tray
