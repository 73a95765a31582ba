// Hidden windows of our own (the shared timer and tray windows, the application window, a
// menu's window): registering the class once, creating the window bound to its object, and
// finding that object again in the window procedure.
#pragma once

#include <windows.h>

namespace tray {

struct HiddenWindowKind {
  const wchar_t* className;
  WNDPROC procedure;
  DWORD exStyle = 0;
  // HWND_MESSAGE for a message-only window, null for a hidden top-level one.
  HWND parent = nullptr;
};

// Creates a hidden window whose procedure finds context through BoundObject.
HWND CreateHiddenWindow(const HiddenWindowKind& kind, const wchar_t* title, void* context);

// The object the window was created for; null until WM_NCCREATE has bound it. Call it first
// thing in the window procedure, for every message.
template <class Object>
Object* BoundObject(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace tray
