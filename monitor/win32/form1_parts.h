// What TForm1 takes from outside: the call-list grid, the shell that shows its tray icon,
// the device control and the beep. The program hands in the real ones; a test may hand in
// others.
#pragma once

#include <windows.h>

#include <memory>

#include "monitor/beep.h"
#include "monitor/call_list.h"
#include "monitor/device_control.h"
#include "monitor/form1_layout.h"
#include "tray/win32/tray_host_win32.h"

namespace monitor::win32 {

class ICallListWindow : public ICallList {
 public:
  virtual HWND Handle() const = 0;
};

class IForm1Parts {
 public:
  virtual ~IForm1Parts() = default;
  // The grid as a child of the form at its place.
  virtual std::unique_ptr<ICallListWindow> CreateTextGrid(HWND form, const PlacedControl& place) = 0;
  // The shell's notification call that the tray icon uses.
  virtual tray::ShellNotifier Shell() = 0;
  virtual std::unique_ptr<IDeviceControlFactory> CreateDeviceFactory(HWND form) = 0;
  virtual IBeepSystem& Beeps() = 0;
};

}  // namespace monitor::win32
