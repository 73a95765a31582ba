// One of the window's own timers, identified by its number on the window.
#pragma once

#include <windows.h>

#include "monitor/form1_controls.h"

namespace monitor::win32 {

class FormTimer : public ITimerSwitch {
 public:
  FormTimer(HWND window, UINT_PTR id, UINT intervalMs) : window_(window), id_(id), interval_(intervalMs) {}
  ~FormTimer() override { SetEnabled(false); }
  FormTimer(const FormTimer&) = delete;
  FormTimer& operator=(const FormTimer&) = delete;

  void SetEnabled(bool enabled) override {
    if (enabled)
      SetTimer(window_, id_, interval_, nullptr);
    else
      KillTimer(window_, id_);
    enabled_ = enabled;
  }
  bool Enabled() const noexcept { return enabled_; }
  UINT_PTR Id() const noexcept { return id_; }

 private:
  HWND window_;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_ = false;
};

}  // namespace monitor::win32
