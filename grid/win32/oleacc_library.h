// The platform's accessibility library, loaded when the first client asks a window for its
// accessible object: a program nobody reads aloud never loads it, so start-up does not pay.
#pragma once

#include <windows.h>

#include <oleacc.h>

namespace grid::win32 {

struct OleaccLibrary {
  decltype(&::LresultFromObject) LresultFromObject;
  decltype(&::CreateStdAccessibleObject) CreateStdAccessibleObject;
  decltype(&::AccessibleObjectFromWindow) AccessibleObjectFromWindow;
};

// nullptr when the library or one of its functions is missing. Loaded once, for the
// process's life.
const OleaccLibrary* Oleacc();

}  // namespace grid::win32
