// The Win32 host: shell calls through the Unicode record, and the application window's and
// the owner window's messages translated for the tray icon.
#include "tray/win32/tray_host_win32.h"


#include <utility>

#include "tray/notify_icon.h"
#include "tray/win32/callback_guard.h"
#include "tray/win32/notify_icon_data_win32.h"
#include "tray/win32/taskbar_created.h"
#include "tray/win32/window_subclass.h"

namespace tray {
namespace {

constexpr WPARAM kRestoreCommand = 0xF120;
constexpr WPARAM kMinimizeCommand = 0xF020;

bool KeyPressed(int key) { return GetKeyState(key) < 0; }

}  // namespace

Win32TrayHost::Win32TrayHost(TApplication& application, HWND owner, ShellNotifier shell)
    : application_(application), owner_(owner), shell_(std::move(shell)) {}

bool Win32TrayHost::NotifyShell(ShellCommand command, const NotifyIconRecord& record) {
  NOTIFYICONDATAW data = ToNotifyIconData(record);
  return shell_(ToShellMessage(command), &data) != FALSE;
}

Point Win32TrayHost::CursorPos() {
  POINT at{};
  GetCursorPos(&at);
  return {at.x, at.y};
}

ShiftState Win32TrayHost::PressedModifiers() {
  ShiftState shift = ssNone;
  if (KeyPressed(VK_SHIFT)) shift = shift | ssShift;
  if (KeyPressed(VK_CONTROL)) shift = shift | ssCtrl;
  if (KeyPressed(VK_MENU)) shift = shift | ssAlt;
  return shift;
}

bool Win32TrayHost::HasMainForm() {
  return application_.MainForm() && IsWindow(application_.MainForm());
}

bool Win32TrayHost::MainFormIsMdiFrame() {
  return FindWindowExW(application_.MainForm(), nullptr, L"MDICLIENT", nullptr) != nullptr;
}

// The application window.

void Win32TrayHost::HookApplicationWindow(TNotifyIcon& icon) {
  hook_ = application_.HookMainWindow([this, &icon](UINT message, WPARAM wParam, LPARAM) {
    ApplicationMessage(icon, message, wParam);
  });
}

void Win32TrayHost::UnhookApplicationWindow(TNotifyIcon&) {
  application_.UnhookMainWindow(hook_);
  hook_ = 0;
}

void Win32TrayHost::ApplicationMessage(TNotifyIcon& icon, UINT message, WPARAM wParam) {
  if (message == WM_SIZE && wParam == SIZE_MINIMIZED)
    icon.ApplicationMinimized();
  else if (message == WM_WINDOWPOSCHANGED)
    icon.ApplicationPositionChanged();
  else if (message == WM_SYSCOMMAND && wParam == kRestoreCommand)
    icon.ApplicationRestoreCommand();
  else if (message != 0 && message == TaskbarRecreatedMessage())
    icon.TaskbarRecreated();
}

// The owner window.

void Win32TrayHost::SubclassOwner(TNotifyIcon& icon) {
  subclassedFor_ = &icon;
  AddSubclass(owner_, OwnerProcedure, reinterpret_cast<UINT_PTR>(this),
                    reinterpret_cast<DWORD_PTR>(this));
}

void Win32TrayHost::RestoreOwnerProcedure(TNotifyIcon&) {
  RemoveSubclass(owner_, OwnerProcedure, reinterpret_cast<UINT_PTR>(this));
  subclassedFor_ = nullptr;
}

bool Win32TrayHost::OwnerMinimizing(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (message == WM_SYSCOMMAND) return wParam == kMinimizeCommand;
  return message == WM_SHOWWINDOW && !wParam && lParam == SW_PARENTCLOSING &&
         !application_.Terminated();
}

LRESULT CALLBACK Win32TrayHost::OwnerProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR hostData) {
  auto* host = reinterpret_cast<Win32TrayHost*>(hostData);
  TNotifyIcon* icon = host->subclassedFor_;
  if (icon && message == WM_SHOWWINDOW && wParam && lParam == 0) {
    CallGuarded([icon] { icon->OwnerShown(); });
  } else if (icon && host->OwnerMinimizing(message, wParam, lParam)) {
    bool takenOver = false;
    CallGuarded([icon, &takenOver] { takenOver = icon->OwnerMinimizing(); });
    if (takenOver) return 1;
  }
  return CallNextSubclass(window, message, wParam, lParam);
}

}  // namespace tray
