// The program's cursor table for the grid: its five cursors loaded from the program's
// resources (101 "CR_PLUS" ... 105 "CR_LEFTTOP"), and the system's for the others.
#pragma once

#include <windows.h>

#include <cstdint>

namespace grid::win32 {

// The cursor for one of the grid's cursor numbers (grid::cursor); the arrow for any other.
HCURSOR GridCursor(std::int32_t number);

}  // namespace grid::win32
