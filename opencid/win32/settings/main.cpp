// sourcesettings.exe: chooses where calls come from. Started with elevation it saves for every
// user of the PC and may change who answers as the device control; otherwise, or with
// /per-user, it saves the user's own source.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "opencid/win32/settings/settings_window.h"

namespace {

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/"));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  opencid::settings::SettingsPlace place;
  place.elevated = opencid::settings::CanWriteMachineSetting() && !wcsstr(commandLine, L"/per-user");
  place.opencidPath = ProgramFolder() + L"\\opencid.dll";
  place.devsimPath = ProgramFolder() + L"\\devsim.dll";
  HWND window = opencid::settings::CreateSettingsWindow(instance, place);
  if (!window) return 1;
  MSG message;
  while (IsWindow(window) && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
