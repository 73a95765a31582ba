// The tray icon's record in the form the shell's Unicode call takes.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "tray/notify_icon_record.h"

namespace tray {

NOTIFYICONDATAW ToNotifyIconData(const NotifyIconRecord& record);
DWORD ToShellMessage(ShellCommand command);

}  // namespace tray
