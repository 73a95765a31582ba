// A signal meter: a progress bar over 0 to 30 in steps of 1.
#pragma once

#include <windows.h>

#include "monitor/form1_controls.h"

namespace monitor::win32 {

class MeterControl : public IMeter {
 public:
  explicit MeterControl(HWND window);
  void SetPosition(std::int32_t position) override;
  void SetSmooth() override;
  HWND Handle() const noexcept { return window_; }

 private:
  HWND window_;
};

}  // namespace monitor::win32
