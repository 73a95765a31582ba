// Where a window keeps its accessible object: made when the first client asks for it (a
// window nobody reads aloud never makes one), handed to every client that asks, and cut off
// from its clients when the window goes, so that no reference of its own or of theirs outlives
// the window's objects.
//
//   case WM_GETOBJECT:
//     if (auto answer = accessible_.Answer(wParam, lParam, [&] { return new MyAccessible(window_); }))
//       return *answer;
//     break;
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "grid/win32/window_accessible.h"

namespace grid::win32 {

class AccessibleSlot {
 public:
  AccessibleSlot() = default;
  ~AccessibleSlot() { Close(); }
  AccessibleSlot(const AccessibleSlot&) = delete;
  AccessibleSlot& operator=(const AccessibleSlot&) = delete;

  // The answer to WM_GETOBJECT: the object, made by make at the first request, for the
  // client area; nothing for other requests, or after Close, or when the platform's library
  // is missing, which the window's default procedure then answers.
  std::optional<LRESULT> Answer(WPARAM wParam, LPARAM lParam, const std::function<WindowAccessible*()>& make);
  // The window is going: every client's reference is dropped, and so is the slot's.
  void Close() noexcept;
  bool Made() const noexcept { return object_ != nullptr; }

 private:
  WindowAccessible* object_ = nullptr;
  bool closed_ = false;
};

}  // namespace grid::win32
