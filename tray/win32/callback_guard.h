// Nothing thrown may cross a window procedure or a timer callback: entry points from the system
// run their work through CallGuarded, which hands any failure to the process's failure handler.
#pragma once

#include <exception>
#include <functional>

namespace tray {

using FailureHandler = std::function<void(std::exception_ptr)>;

// The program-wide handler of failures caught at a system callback; by default they are
// discarded. The application object sets it (see application.h).
void SetFailureHandler(FailureHandler handler);
void ReportFailure(std::exception_ptr failure) noexcept;

template <class Work>
void CallGuarded(Work&& work) noexcept {
  try {
    work();
  } catch (...) {
    ReportFailure(std::current_exception());
  }
}

}  // namespace tray
