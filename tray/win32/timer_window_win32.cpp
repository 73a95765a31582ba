// The shared timer window on Windows: a message-only window whose WM_TIMER messages carry the
// timer's identifier and go to the timer handler.
#include "tray/win32/timer_window_win32.h"

#include <windows.h>

#include "tray/timer_window.h"
#include "tray/win32/callback_guard.h"
#include "tray/win32/hidden_window.h"
#include "tray/window_timer_handler.h"

namespace tray {
namespace {

LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* handler = BoundObject<TWindowTimerHandler>(window, message, lParam);
  if (message != WM_TIMER) return DefWindowProcW(window, message, wParam, lParam);
  // The callback may destroy this window; nothing here touches it afterwards.
  if (handler) CallGuarded([handler, wParam] { handler->Dispatch(wParam); });
  return 0;
}

class Win32TimerWindow : public TimerWindow {
 public:
  explicit Win32TimerWindow(TWindowTimerHandler& handler) {
    const HiddenWindowKind kind{kTimerWindowClass, TimerWindowProc, 0, HWND_MESSAGE};
    window_ = CreateHiddenWindow(kind, L"", &handler);
  }
  ~Win32TimerWindow() override {
    if (window_) DestroyWindow(window_);
  }
  Win32TimerWindow(const Win32TimerWindow&) = delete;
  Win32TimerWindow& operator=(const Win32TimerWindow&) = delete;

  bool StartTimer(std::uintptr_t identifier, std::uint32_t interval) override {
    return window_ && SetTimer(window_, identifier, interval, nullptr) != 0;
  }
  void StopTimer(std::uintptr_t identifier) override {
    if (window_) KillTimer(window_, identifier);
  }

 private:
  HWND window_ = nullptr;
};

}  // namespace

std::unique_ptr<TimerWindow> CreateTimerWindow(TWindowTimerHandler& handler) {
  return std::make_unique<Win32TimerWindow>(handler);
}

}  // namespace tray
