// Creating our hidden windows.
#include "tray/win32/hidden_window.h"

namespace tray {

HWND CreateHiddenWindow(const HiddenWindowKind& kind, const wchar_t* title, void* context) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = kind.procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kind.className;
  RegisterClassExW(&windowClass);  // fails harmlessly when already registered
  const DWORD style = kind.parent == HWND_MESSAGE ? 0 : WS_POPUP;
  return CreateWindowExW(kind.exStyle, kind.className, title, style, 0, 0, 0, 0, kind.parent,
                         nullptr, instance, context);
}

}  // namespace tray
