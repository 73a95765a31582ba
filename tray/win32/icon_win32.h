// System icons as the tray icon holds them: an icon we made is destroyed with its last
// holder; a shared one (a loaded resource icon) never is.
#pragma once

#include <windows.h>

#include "tray/icon.h"

namespace tray {

inline IconHandle OwnedIcon(HICON icon) {
  if (!icon) return nullptr;
  return IconHandle(icon, [](void* handle) { DestroyIcon(static_cast<HICON>(handle)); });
}

inline IconHandle SharedIcon(HICON icon) {
  if (!icon) return nullptr;
  return IconHandle(icon, [](void*) {});
}

}  // namespace tray
