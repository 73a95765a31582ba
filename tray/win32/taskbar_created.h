// The message the shell broadcasts when its taskbar has been created again (after a restart
// of the shell): every icon must then be added again.
#pragma once

#include <windows.h>

namespace tray {

// Registered once, when the common controls are version 4.71 or later; otherwise 0.
UINT TaskbarRecreatedMessage();

}  // namespace tray
