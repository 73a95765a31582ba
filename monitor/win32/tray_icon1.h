// TrayIcon1: the window's icon in the notification area, with PopupMenu1 as its menu, and
// the balloon that announces each call.
#pragma once

#include <windows.h>

#include "monitor/tray_balloon.h"
#include "tray/win32/notify_icon_win32.h"
#include "tray/win32/popup_menu_win32.h"

namespace monitor::win32 {

class TrayIcon1 : public ITrayBalloon {
 public:
  static constexpr std::uint32_t CycleInterval = 400;

  // Visible, with the program's icon, once HandToShell has run.
  TrayIcon1(tray::TApplication& application, HWND form, tray::TPopupMenu& menu, tray::ShellNotifier shell);
  // Ends loading: the icon goes to the shell. The window calls it once it has painted, as the
  // shell takes tens of milliseconds over a new icon and nothing of it shows in the window.
  void HandToShell();

  bool ShowBalloonHint(const std::wstring& title, const std::wstring& text, BalloonIcon icon,
                       std::uint8_t timeoutSeconds) override;
  tray::TNotifyIcon& Icon() { return icon_; }

 private:
  tray::TWin32NotifyIcon icon_;
};

}  // namespace monitor::win32
