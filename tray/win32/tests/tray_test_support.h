// Helpers of the tray tests under Wine: solid-colour icons and reading them back, a shell
// call that records every record before handing it on, and a plain owner window.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "tray/win32/tray_host_win32.h"

namespace tray::testing {

// A 16 x 16 icon of one colour; the caller destroys it.
HICON MakeSolidIcon(COLORREF colour);
// The colour at the centre of an icon; CLR_INVALID when it cannot be read.
COLORREF IconColour(HICON icon);

struct ShellCallRecord {
  DWORD message;
  NOTIFYICONDATAW data;
  COLORREF iconColour;  // read while the icon still existed
};

class ShellRecorder {
 public:
  std::vector<ShellCallRecord> calls;
  // Whether the calls go on to the real shell; otherwise the shell accepts each one.
  bool forward = false;
  // Records each call, then hands it on or accepts it.
  ShellNotifier Notifier();
  std::vector<ShellCallRecord> CallsOf(DWORD message) const;
};

// A top-level window with the default behaviour, hidden until shown; destroyed with the object.
class TestWindow {
 public:
  TestWindow();
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_;
};

// The window of the class (under parent) that belongs to this process: other test programs
// run beside this one on the same desktop.
HWND OwnWindow(HWND parent, const wchar_t* className);

}  // namespace tray::testing
