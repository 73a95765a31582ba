// Registering the simulated device control without ever breaking a machine that has the real
// device control: its class identifier is taken over only when free, already ours, or forced;
// and only a registration that points to this file is removed.
#pragma once

#include <windows.h>

#include <string>

namespace device {

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
