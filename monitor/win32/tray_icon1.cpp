#include "monitor/win32/tray_icon1.h"

#include "monitor/win32/resource.h"
#include "tray/win32/icon_win32.h"

namespace monitor::win32 {
namespace {

HICON ProgramIcon() {
  if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAINICON))) return icon;
  return LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // a build without the program's resources
}

}  // namespace

TrayIcon1::TrayIcon1(tray::TApplication& application, HWND form, tray::TPopupMenu& menu,
                     tray::ShellNotifier shell)
    : icon_(application, form, tray::TNotifyIcon::Loading::Yes, std::move(shell)) {
  icon_.SetIcon(tray::SharedIcon(ProgramIcon()));
  icon_.SetIconIndex(0);
  icon_.SetCycleInterval(CycleInterval);
  icon_.SetPopupMenu(&menu);
  icon_.SetWantEnterExitEvents(true);
  icon_.SetIconVisible(true);
}

void TrayIcon1::HandToShell() { icon_.Loaded(); }

bool TrayIcon1::ShowBalloonHint(const std::wstring& title, const std::wstring& text,
                                BalloonIcon icon, std::uint8_t timeoutSeconds) {
  return icon_.ShowBalloonHint(title, text, static_cast<tray::BalloonIcon>(icon), timeoutSeconds);
}

}  // namespace monitor::win32
