// What Test.exe hands its window: the shell itself, the installed device control and the
// system speaker.
#pragma once

#include "monitor/win32/beep_system_win32.h"
#include "monitor/win32/form1_parts.h"
#include "monitor/win32/tevrin5_control.h"

namespace monitor::win32 {

class ProgramParts : public IForm1Parts {
 public:
  tray::ShellNotifier Shell() override { return tray::ShellNotifyIcon; }
  std::unique_ptr<IDeviceControlFactory> CreateDeviceFactory(HWND form) override {
    return std::make_unique<Tevrin5Factory>(form);
  }
  IBeepSystem& Beeps() override { return beeps_; }

 private:
  Win32BeepSystem beeps_;
};

}  // namespace monitor::win32
