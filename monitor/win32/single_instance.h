// One line monitor per user session: a second start brings the first window forward and ends,
// instead of beeping a second time for every call.
#pragma once

#include <windows.h>

namespace monitor::win32 {

class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when another copy runs already; its window has then been brought forward.
  bool AnotherRuns() const noexcept { return another_; }

 private:
  HANDLE mutex_ = nullptr;
  bool another_ = false;
};

}  // namespace monitor::win32
