// The About window TKalloraXAbout: which product and version the legacy control is.
#pragma once

namespace legacy {

// Builds a fresh window with no owner, shows it modally and destroys it when it closes (OK,
// Enter, Esc or the system menu). Raises common::Error when it cannot be shown.
void ShowAboutWindow();

}  // namespace legacy
