// Where the source is kept, and the control's registration. The source is machine-wide
// (HKEY_LOCAL_MACHINE, written with elevation, for every account of the PC) or per user
// (HKEY_CURRENT_USER, written without elevation), the per-user one overriding the other.
// Registration: the control's own class always, and on request the device control's class
// too, but never over another file's registration of it; removal takes away only what this
// file wrote.
#pragma once

#include <string>
#include <vector>

#include "activex/registry_table.h"
#include "opencid/source_setting.h"

namespace opencid {

enum class SourceScope { Default, Machine, User };

struct EffectiveSource {
  SourceSetting source;
  SourceScope scope = SourceScope::Default;
};

// The source in force: this user's, else the machine's, else a server on this machine. A
// stored text that is not a source is passed over.
EffectiveSource ReadSource();
// Throws common::Error when the scope cannot be written (the machine's without elevation).
void StoreSource(SourceScope scope, const SourceSetting& source);
// Removes the scope's source; nothing happens when there is none or it cannot be removed.
void ForgetSource(SourceScope scope);
// "machine-wide", "per-user", "default": what `devctl status` says is in force.
std::wstring ScopeName(SourceScope scope);

// The line numbers of a server's labels (LineNumbers' saved text), kept per user and source;
// storing is best effort.
std::string StoredLineNumbers(const std::wstring& deviceId);
void StoreLineNumbers(const std::wstring& deviceId, const std::string& saved);

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
// What DllInstall does with its command line: "SOURCE[,as-device]" registers and stores the
// machine-wide source; "SOURCE,per-user" stores only this user's; on removal, "per-user"
// removes only this user's source, anything else the registration and both sources. A command
// line it cannot read fails with E_INVALIDARG.
void Install(bool install, std::wstring_view commandLine);

}  // namespace opencid
