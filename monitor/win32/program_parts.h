// What Test.exe hands its window: the shell itself, the installed device control and the
// system speaker.
#pragma once

#include "monitor/win32/beep_system_win32.h"
#include "monitor/win32/event_log.h"
#include "monitor/win32/form1_parts.h"
#include "monitor/win32/tevrin5_control.h"

namespace monitor::win32 {

// The device control that cannot be made leaves the window with its installation texts; the
// event log gets the reason.
class LoggedDeviceFactory : public IDeviceControlFactory {
 public:
  explicit LoggedDeviceFactory(HWND form) : factory_(form) {}
  std::unique_ptr<IDeviceControl> Create() override {
    try {
      return factory_.Create();
    } catch (...) {
      WriteToEventLog(L"CallerIdMonitor", L"The device control could not be created", std::current_exception());
      throw;
    }
  }

 private:
  Tevrin5Factory factory_;
};

class ProgramParts : public IForm1Parts {
 public:
  tray::ShellNotifier Shell() override { return tray::ShellNotifyIcon; }
  std::unique_ptr<IDeviceControlFactory> CreateDeviceFactory(HWND form) override {
    return std::make_unique<LoggedDeviceFactory>(form);
  }
  IBeepSystem& Beeps() override { return beeps_; }

 private:
  Win32BeepSystem beeps_;
};

}  // namespace monitor::win32
