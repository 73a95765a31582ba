// What a tray icon needs of the system besides its hidden window: the shell's notification
// area, the input state, the application with its main window, and the window that owns the
// icon. The Win32 host implements it; native tests use a recording fake.
#pragma once

#include <cstdint>

#include "tray/geometry.h"
#include "tray/notify_icon_record.h"

namespace tray {

class TNotifyIcon;

class TrayHost {
 public:
  virtual ~TrayHost() = default;

  // The shell: true when it accepted the call.
  virtual bool NotifyShell(ShellCommand command, const NotifyIconRecord& record) = 0;

  // Input as it is at the moment of asking.
  virtual Point CursorPos() = 0;
  // Shift, Ctrl and Alt as pressed now.
  virtual ShiftState PressedModifiers() = 0;
  virtual std::uint32_t DoubleClickTime() = 0;

  // The application and its main window.
  virtual void ProcessMessages() = 0;
  virtual bool HasMainForm() = 0;
  virtual bool MainFormIsMdiFrame() = 0;
  virtual bool MainFormMinimized() = 0;
  virtual void HideMainFormWindow() = 0;
  virtual void RestoreMainFormWindow() = 0;
  virtual void ShowMainFormWindow() = 0;
  // Keeps the application from showing its main window when it starts running.
  virtual void CancelShowMainForm() = 0;
  virtual bool ApplicationWindowVisible() = 0;
  virtual void HideApplicationWindow() = 0;
  virtual void BringApplicationToForeground() = 0;
  // The icon hears the application window's messages until unhooked.
  virtual void HookApplicationWindow(TNotifyIcon& icon) = 0;
  virtual void UnhookApplicationWindow(TNotifyIcon& icon) = 0;

  // The window that owns the icon, when the owner is a window control.
  virtual bool OwnerIsWindowControl() = 0;
  // Puts the icon's procedure in front of the owner window's, and the previous one back.
  virtual void SubclassOwner(TNotifyIcon& icon) = 0;
  virtual void RestoreOwnerProcedure(TNotifyIcon& icon) = 0;
  virtual void BringOwnerToForeground() = 0;
  // An empty message, so that a menu opened from the notification area closes properly.
  virtual void PostOwnerNullMessage() = 0;
};

}  // namespace tray
