// A group box that paints its own area: the frame, the caption on it, and the face colour
// inside, so that whatever a control above it uncovers is painted again.
#pragma once

#include <windows.h>

namespace monitor::win32 {

// The window class of the window's group boxes; registered on first use.
const wchar_t* GroupBoxClass();

}  // namespace monitor::win32
