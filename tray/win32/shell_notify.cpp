#include "tray/win32/shell_notify.h"

namespace tray {

BOOL WINAPI ShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
  using Call = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAW*);
  // Loaded once and kept: the process holds the library until it ends.
  static const Call call = [] {
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    return shell ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(shell, "Shell_NotifyIconW")))
                 : nullptr;
  }();
  return call ? call(message, data) : FALSE;
}

}  // namespace tray
