// Registering "TaskbarCreated" where the common controls are recent enough to send it.
#include "tray/win32/taskbar_created.h"

#include <shlwapi.h>

namespace tray {
namespace {

bool CommonControlsAtLeast(DWORD major, DWORD minor) {
  HMODULE library = LoadLibraryW(L"comctl32.dll");
  if (!library) return false;
  DLLVERSIONINFO version{};
  version.cbSize = sizeof version;
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
  const bool known = getVersion && SUCCEEDED(getVersion(&version));
  FreeLibrary(library);
  return known && (version.dwMajorVersion > major ||
                   (version.dwMajorVersion == major && version.dwMinorVersion >= minor));
}

}  // namespace

UINT TaskbarRecreatedMessage() {
  static const UINT message =
      CommonControlsAtLeast(4, 71) ? RegisterWindowMessageW(L"TaskbarCreated") : 0;
  return message;
}

}  // namespace tray
