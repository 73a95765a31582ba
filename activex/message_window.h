// A window of our own whose messages go to a handler. The handler answers std::nullopt to
// leave a message to the default window procedure; a failure inside it never leaves the
// window procedure. The window class is registered by the first window of its name and
// removed with the last, so a DLL that is unloaded leaves no class behind.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace activex {

class MessageWindow {
 public:
  using Handler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

  MessageWindow(const wchar_t* className, DWORD style, HWND parent, const RECT& rect, Handler handler);
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;
  // Destroys the window without calling the handler any more.
  ~MessageWindow();

  HWND Handle() const noexcept { return hwnd_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  std::wstring className_;
  Handler handler_;
  HWND hwnd_ = nullptr;
};

// A hidden top-level window of the thread that parks controls' windows while no container
// hosts them. It exists while any lease on the thread does.
class ParkingLease {
 public:
  ParkingLease();
  ParkingLease(const ParkingLease&) = delete;
  ParkingLease& operator=(const ParkingLease&) = delete;
  ~ParkingLease();

  HWND Window() const noexcept;
};

}  // namespace activex
