// The shell's notification call, with the shell's library loaded at its first use rather
// than when the program starts: under Wine that library and those it brings cost a program
// tens of milliseconds before its first paint, and the first icon goes to the shell after it.
#pragma once

#include <windows.h>

#include <shellapi.h>

namespace tray {

// As Shell_NotifyIconW; FALSE when the library or the call cannot be had.
BOOL WINAPI ShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data);

}  // namespace tray
