// The shared timer window on Windows: a message-only window of this class.
#pragma once

namespace tray {

inline constexpr wchar_t kTimerWindowClass[] = L"TrayWindowTimerWindow";

}  // namespace tray
