// The tray icons' hidden window on Windows: the shell's callback messages become notifications
// of the icon they name; the messages that would end the window are answered and dropped.
#include "tray/win32/tray_window_win32.h"

#include <shellapi.h>

#include "tray/notify_icon_record.h"
#include "tray/tray_icon_handler.h"
#include "tray/win32/callback_guard.h"
#include "tray/win32/hidden_window.h"

namespace tray {

std::optional<ShellNotification> ShellNotificationOf(LPARAM lParam) {
  switch (LOWORD(lParam)) {
    case WM_MOUSEMOVE: return ShellNotification::MouseMove;
    case WM_LBUTTONDOWN: return ShellNotification::LeftButtonDown;
    case WM_LBUTTONUP: return ShellNotification::LeftButtonUp;
    case WM_LBUTTONDBLCLK: return ShellNotification::LeftDoubleClick;
    case WM_RBUTTONDOWN: return ShellNotification::RightButtonDown;
    case WM_RBUTTONUP: return ShellNotification::RightButtonUp;
    case WM_RBUTTONDBLCLK: return ShellNotification::RightDoubleClick;
    case WM_MBUTTONDOWN: return ShellNotification::MiddleButtonDown;
    case WM_MBUTTONUP: return ShellNotification::MiddleButtonUp;
    case WM_MBUTTONDBLCLK: return ShellNotification::MiddleDoubleClick;
    case WM_CONTEXTMENU: return ShellNotification::ContextMenu;
    case NIN_SELECT: return ShellNotification::Select;
    case NIN_KEYSELECT: return ShellNotification::KeySelect;
    case NIN_BALLOONSHOW: return ShellNotification::BalloonShow;
    case NIN_BALLOONHIDE: return ShellNotification::BalloonHide;
    case NIN_BALLOONTIMEOUT: return ShellNotification::BalloonTimeout;
    case NIN_BALLOONUSERCLICK: return ShellNotification::BalloonUserClick;
    default: return std::nullopt;
  }
}

namespace {

bool IsEndingMessage(UINT message) {
  switch (message) {
    case WM_CLOSE:
    case WM_DESTROY:
    case WM_QUIT:
    case WM_NCDESTROY:
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* handler = BoundObject<TTrayIconHandler>(window, message, lParam);
  if (message == TrayCallbackMessage) {
    const auto notification = ShellNotificationOf(lParam);
    // An event handler may destroy the last icon and this window with it.
    if (handler && notification)
      CallGuarded([handler, wParam, notification] { handler->Dispatch(wParam, *notification); });
    return 0;
  }
  if (IsEndingMessage(message)) return 1;
  return DefWindowProcW(window, message, wParam, lParam);
}

class Win32TrayWindow : public TrayWindow {
 public:
  explicit Win32TrayWindow(TTrayIconHandler& handler) {
    const HiddenWindowKind kind{kTrayWindowClass, TrayWindowProc, WS_EX_TOOLWINDOW};
    window_ = CreateHiddenWindow(kind, L"", &handler);
  }
  ~Win32TrayWindow() override {
    if (window_) DestroyWindow(window_);
  }
  Win32TrayWindow(const Win32TrayWindow&) = delete;
  Win32TrayWindow& operator=(const Win32TrayWindow&) = delete;

  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(window_); }
  void BringToForeground() override { SetForegroundWindow(window_); }

 private:
  HWND window_ = nullptr;
};

}  // namespace

std::unique_ptr<TrayWindow> CreateTrayWindow(TTrayIconHandler& handler) {
  return std::make_unique<Win32TrayWindow>(handler);
}

}  // namespace tray
