// The tray icon's host on Windows: the shell's Unicode notification call, the input state,
// the application object and the window that owns the icon.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>

#include "tray/tray_host.h"
#include "tray/win32/application.h"
#include "tray/win32/shell_notify.h"

namespace tray {

// The shell's notification call; tests pass one that records the records and forwards them.
using ShellNotifier = std::function<BOOL(DWORD message, NOTIFYICONDATAW* data)>;

class Win32TrayHost : public TrayHost {
 public:
  // owner: the window that owns the icon, or null when no window does.
  Win32TrayHost(TApplication& application, HWND owner, ShellNotifier shell = ShellNotifyIcon);
  Win32TrayHost(const Win32TrayHost&) = delete;
  Win32TrayHost& operator=(const Win32TrayHost&) = delete;

  bool NotifyShell(ShellCommand command, const NotifyIconRecord& record) override;
  Point CursorPos() override;
  ShiftState PressedModifiers() override;
  std::uint32_t DoubleClickTime() override { return GetDoubleClickTime(); }

  void ProcessMessages() override { application_.ProcessMessages(); }
  bool HasMainForm() override;
  bool MainFormIsMdiFrame() override;
  bool MainFormMinimized() override { return IsIconic(application_.MainForm()); }
  void HideMainFormWindow() override { ShowWindow(application_.MainForm(), SW_HIDE); }
  void RestoreMainFormWindow() override { ShowWindow(application_.MainForm(), SW_RESTORE); }
  void ShowMainFormWindow() override { ShowWindow(application_.MainForm(), SW_SHOW); }
  void CancelShowMainForm() override { application_.SetShowMainForm(false); }
  bool ApplicationWindowVisible() override { return IsWindowVisible(application_.Handle()); }
  void HideApplicationWindow() override { ShowWindow(application_.Handle(), SW_HIDE); }
  void BringApplicationToForeground() override { SetForegroundWindow(application_.Handle()); }
  void HookApplicationWindow(TNotifyIcon& icon) override;
  void UnhookApplicationWindow(TNotifyIcon& icon) override;

  bool OwnerIsWindowControl() override { return owner_ != nullptr; }
  void SubclassOwner(TNotifyIcon& icon) override;
  void RestoreOwnerProcedure(TNotifyIcon& icon) override;
  void BringOwnerToForeground() override { SetForegroundWindow(owner_); }
  void PostOwnerNullMessage() override { PostMessageW(owner_, WM_NULL, 0, 0); }

 private:
  static LRESULT CALLBACK OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR subclass, DWORD_PTR host);
  void ApplicationMessage(TNotifyIcon& icon, UINT message, WPARAM wParam);
  bool OwnerMinimizing(UINT message, WPARAM wParam, LPARAM lParam) const;

  TApplication& application_;
  HWND owner_;
  ShellNotifier shell_;
  TApplication::HookId hook_ = 0;
  TNotifyIcon* subclassedFor_ = nullptr;
};

}  // namespace tray
