// The window that chooses where calls come from: the vendor's device, a network caller-ID
// server, a caller-ID modem or the simulated device. It saves the machine's setting when it
// may write it and the user's own otherwise, and says which.
#pragma once

#include <windows.h>

#include <string>

namespace opencid::settings {

// The controls' identifiers, for whoever drives the window by its messages.
enum ControlId : int {
  kVendorChoice = 101,
  kServerChoice,
  kModemChoice,
  kSimulatedChoice,
  kHostEdit,
  kPortEdit,
  kServerTest,
  kSerialPortBox,
  kModemTest,
  kSaveButton,
  kCloseButton,
  kScopeText,
  kResultText,
};

struct SettingsPlace {
  // Whether the machine's setting and the device control's registration may be written.
  bool elevated = false;
  // opencid.dll and devsim.dll, for a change of who answers as the device control.
  std::wstring opencidPath;
  std::wstring devsimPath;
};

// Whether this run may write the machine's setting (an elevated token, or Windows without one).
bool CanWriteMachineSetting();

// A top-level window, shown; it destroys itself when closed. Null when it cannot be made.
HWND CreateSettingsWindow(HINSTANCE instance, const SettingsPlace& place);

}  // namespace opencid::settings
