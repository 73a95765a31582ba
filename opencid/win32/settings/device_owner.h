// Who answers as the device control: changed through the registration entry points of
// opencid.dll and devsim.dll, each of which refuses to take over a
// class another file holds and removes only its own registration.
#pragma once

#include <string>

#include "opencid/source_choice.h"

namespace opencid::settings {

// Throws common::Error with the reason the last step failed. `source` is stored machine-wide
// when this control takes the device control's place.
void ChangeDeviceOwner(DeviceOwner owner, const SourceSetting* source, const std::wstring& opencidPath,
                       const std::wstring& devsimPath);

// Who answers now, for the window's first choice.
DeviceOwner CurrentDeviceOwner();

}  // namespace opencid::settings
