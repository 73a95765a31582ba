// What the tray icons need of the platform's hidden window: one per process, whose handle
// the shell's records carry and to which the shell sends each icon's notifications.
#pragma once

#include <cstdint>
#include <memory>

namespace tray {

class TTrayIconHandler;

// The shell's notifications for one icon, as the hidden window receives them.
enum class ShellNotification {
  MouseMove,
  LeftButtonDown,
  LeftButtonUp,
  LeftDoubleClick,
  RightButtonDown,
  RightButtonUp,
  RightDoubleClick,
  MiddleButtonDown,
  MiddleButtonUp,
  MiddleDoubleClick,
  ContextMenu,
  Select,
  KeySelect,
  BalloonShow,
  BalloonHide,
  BalloonTimeout,
  BalloonUserClick,
};

class TrayWindow {
 public:
  virtual ~TrayWindow() = default;
  virtual std::uintptr_t Handle() const = 0;
  // Makes the hidden window the foreground window, so that a menu it opens closes properly.
  virtual void BringToForeground() = 0;
};

// Creates the hidden window; each notification goes to handler.Dispatch. Defined by the
// platform layer (the Win32 window, or a test's fake).
std::unique_ptr<TrayWindow> CreateTrayWindow(TTrayIconHandler& handler);

}  // namespace tray
