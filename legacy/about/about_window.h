// The About window TKalloraXAbout: which product and version the legacy control is.
#pragma once

#include <windows.h>

namespace legacy {

// Builds a fresh window owned by `owner` (or none), shows it modally, so that the owner takes
// no input meanwhile, and destroys it when it closes (OK, Enter, Esc or the system menu).
// Raises common::Error when it cannot be shown.
void ShowAboutWindow(HWND owner);

}  // namespace legacy
