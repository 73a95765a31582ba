// TNotifyIcon and the application: hiding the main window at start and to the tray, the
// application window's messages and the owner window's.
#include "tray/notify_icon.h"

namespace tray {

void TNotifyIcon::DecideStartup() {
  if (!host_.OwnerIsWindowControl()) return;
  bool showMainForm = true;
  if (!Survives([&] { Raise(OnStartup, *this, showMainForm); }) || showMainForm) return;
  host_.CancelShowMainForm();
  HideMainForm();
}

void TNotifyIcon::HideMainForm() {
  if (!host_.OwnerIsWindowControl() || !host_.HasMainForm()) return;
  host_.HideMainFormWindow();
  HideTaskbarIcon();
}

void TNotifyIcon::HideTaskbarIcon() {
  if (host_.ApplicationWindowVisible()) host_.HideApplicationWindow();
}

void TNotifyIcon::MinimizeMainFormToTray() {
  HideMainForm();
  ShowIcon();
}

// The application window's messages.

void TNotifyIcon::ApplicationMinimized() {
  if (minimizeToTray_) MinimizeMainFormToTray();
}

void TNotifyIcon::ApplicationPositionChanged() {
  if (!startupCheckPending_ || !host_.HasMainForm()) return;
  if (host_.MainFormIsMdiFrame()) {
    bool showMainForm = true;
    if (!Survives([&] { Raise(OnStartup, *this, showMainForm); })) return;
    if (!showMainForm) HideTaskbarIcon();
  }
  startupCheckPending_ = false;
}

void TNotifyIcon::ApplicationRestoreCommand() {
  if (!host_.HasMainForm()) return;
  if (host_.MainFormMinimized()) host_.RestoreMainFormWindow();
  host_.ShowMainFormWindow();
}

void TNotifyIcon::TaskbarRecreated() {
  if (iconVisible_) ShowIcon();
}

// The owner window's messages.

void TNotifyIcon::OwnerShown() {
  host_.BringApplicationToForeground();
  host_.BringOwnerToForeground();
}

bool TNotifyIcon::OwnerMinimizing() {
  if (!minimizeToTray_ || !OnMinimizeToTray.Assigned()) return false;
  if (Survives([this] { Raise(OnMinimizeToTray, *this); })) MinimizeMainFormToTray();
  return true;
}

}  // namespace tray
