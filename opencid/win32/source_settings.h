// The user's source, kept under HKEY_CURRENT_USER, and the control's registration: its own
// class always, and on request the device control's class too, but never over another
// file's registration of it; removal takes away only what this file wrote.
#pragma once

#include <string>
#include <vector>

#include "activex/registry_table.h"
#include "opencid/source_setting.h"

namespace opencid {

// The stored source, or the default (a server on this machine) when none or unreadable.
SourceSetting UserSource();
void StoreUserSource(const SourceSetting& source);
void ForgetUserSource();

// The registry entries of the control's own class, and of the device control's class, for a
// server at modulePath.
std::vector<activex::RegistryEntry> ControlRegistryEntries(const std::wstring& modulePath,
                                                           const std::wstring& inprocServerPath = {});
std::vector<activex::RegistryEntry> AsDeviceRegistryEntries(const std::wstring& modulePath,
                                                            const std::wstring& inprocServerPath = {});

void RegisterControl();
void UnregisterControl();
// Throws common::Error (device::kClassHeldByAnother) and changes nothing when another file has the class.
void RegisterAsDevice();
// Removes the device control's class only when it is registered to this file.
void UnregisterAsDevice();
// What DllInstall does with its command line; one it cannot read fails with E_INVALIDARG.
void Install(bool install, std::wstring_view commandLine);

}  // namespace opencid
