// The shared timer window on Windows: a message-only window whose WM_TIMER messages carry the
// timer's identifier and go to the timer handler.
#include "tray/win32/timer_window_win32.h"

#include <windows.h>

#include "tray/timer_window.h"
#include "tray/win32/callback_guard.h"
#include "tray/window_timer_handler.h"

namespace tray {
namespace {

LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (message != WM_TIMER) return DefWindowProcW(window, message, wParam, lParam);
  auto* handler = reinterpret_cast<TWindowTimerHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  // The callback may destroy this window; nothing here touches it afterwards.
  if (handler) CallGuarded([handler, wParam] { handler->Dispatch(wParam); });
  return 0;
}

void RegisterTimerWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = TimerWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kTimerWindowClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when already registered
}

class Win32TimerWindow : public TimerWindow {
 public:
  explicit Win32TimerWindow(TWindowTimerHandler& handler) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterTimerWindowClass(instance);
    window_ = CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              instance, &handler);
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
