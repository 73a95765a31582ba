// The process's one hidden window for every tray icon: created with the first icon, destroyed
// with the last, and the place where the shell's notifications reach the icon they name.
#pragma once

#include <cstdint>

#include "tray/shared_window_handler.h"
#include "tray/tray_window.h"

namespace tray {

class TNotifyIcon;

class TTrayIconHandler : public SharedWindowHandler<TNotifyIcon, TrayWindow> {
 public:
  TTrayIconHandler();
  TrayWindow& Window() noexcept { return GetWindow(); }

  // A notification for the icon of that identifier; one naming no live icon is ignored.
  void Dispatch(std::uintptr_t identifier, ShellNotification notification);
};

// The shared handler; null while no tray icon exists.
TTrayIconHandler* TrayIconHandler() noexcept;

TTrayIconHandler& AttachTrayWindow(TNotifyIcon& icon);
void DetachTrayWindow(TNotifyIcon& icon);

}  // namespace tray
