// What TForm1 takes from outside: the shell that shows its tray icon, the device control
// and the beep. The program hands in the real ones; a test may hand in
// others.
#pragma once

#include <windows.h>

#include <memory>

#include "monitor/beep.h"
#include "monitor/device_control.h"
#include "tray/win32/tray_host_win32.h"

namespace monitor::win32 {

class IForm1Parts {
 public:
  virtual ~IForm1Parts() = default;
  // The shell's notification call that the tray icon uses.
  virtual tray::ShellNotifier Shell() = 0;
  virtual std::unique_ptr<IDeviceControlFactory> CreateDeviceFactory(HWND form) = 0;
  virtual IBeepSystem& Beeps() = 0;
};

}  // namespace monitor::win32
