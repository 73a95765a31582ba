// The user's source, kept under HKEY_CURRENT_USER, and the control's registration: its own
// class always, and on request the device control's class too, but never over another
// file's registration of it; removal takes away only what this file wrote.
#pragma once

#include "opencid/source_setting.h"

namespace opencid {

// The stored source, or the default (a server on this machine) when none or unreadable.
SourceSetting UserSource();
void StoreUserSource(const SourceSetting& source);
void ForgetUserSource();

void RegisterControl();
void UnregisterControl();
// Throws common::Error (SELFREG_E_CLASS) and changes nothing when another file has the class.
void RegisterAsDevice();
// Removes the device control's class only when it is registered to this file.
void UnregisterAsDevice();
// What DllInstall does with its command line.
void Install(bool install, std::wstring_view commandLine);

}  // namespace opencid
