// The tray icons' shared hidden window on Windows: a hidden top-level window of this class
// (top-level, so that it can be the foreground window while a menu is open).
#pragma once

#include <windows.h>

#include <optional>

#include "tray/tray_window.h"

namespace tray {

inline constexpr wchar_t kTrayWindowClass[] = L"TrayIconHandlerWindow";

// The notification a shell callback message carries in its second parameter, if it is one
// the tray icon knows.
std::optional<ShellNotification> ShellNotificationOf(LPARAM lParam);

}  // namespace tray
