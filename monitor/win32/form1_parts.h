// What TForm1 takes from other components: the call-list grid, the tray icon, the device
// control and the beep. The program hands in the real ones; a test may hand in others.
#pragma once

#include <windows.h>

#include <memory>

#include "monitor/beep.h"
#include "monitor/call_list.h"
#include "monitor/device_control.h"
#include "monitor/form1_layout.h"
#include "monitor/tray_balloon.h"

namespace monitor::win32 {

class PopupMenu1;

class ICallListWindow : public ICallList {
 public:
  virtual HWND Handle() const = 0;
};

class IForm1Parts {
 public:
  virtual ~IForm1Parts() = default;
  // The grid as a child of the form at its place.
  virtual std::unique_ptr<ICallListWindow> CreateTextGrid(HWND form, const PlacedControl& place) = 0;
  // The window's icon in the notification area, opening the menu on a right click.
  virtual std::unique_ptr<ITrayBalloon> CreateTrayIcon(HWND form, PopupMenu1& menu) = 0;
  virtual std::unique_ptr<IDeviceControlFactory> CreateDeviceFactory(HWND form) = 0;
  virtual IBeepSystem& Beeps() = 0;
};

}  // namespace monitor::win32
