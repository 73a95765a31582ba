// Registering the simulated device control without ever breaking a machine that has the real
// device control: its class identifier is taken over only when free, already ours, or forced;
// and only a registration that points to this file is removed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "activex/registry_table.h"

namespace device {

// What a registration refused because another file holds the class returns to regsvr32: a
// code whose system text names the reason ("Class already exists."), where the registration
// codes of olectl.h read as an unrelated event-system failure.
inline constexpr std::int32_t kClassHeldByAnother = static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_CLASS_ALREADY_EXISTS));

// The class's registry entries for a server at modulePath (besides its type library's).
std::vector<activex::RegistryEntry> DeviceRegistryEntries(const std::wstring& modulePath,
                                                          const std::wstring& inprocServerPath = {});

// Throws common::Error with a message for the user when the class belongs to another file.
void RegisterDevice(bool force);
// Throws common::Error when the class is registered to another file (which stays).
void UnregisterDevice();
// The file the device control's class is registered to, empty when none.
std::wstring RegisteredServer();

// For any class: the file it is registered to (empty when none), and whether that is a file
// other than the module running this code.
std::wstring RegisteredServer(const CLSID& clsid);
bool RegisteredToAnother(const CLSID& clsid);

}  // namespace device
