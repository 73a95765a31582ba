// Writes a type library file through the system's type-library creation interfaces.
#pragma once

#include <string>

#include "legacy/typelib/type_description.h"

namespace legacy::typelib {

// Writes the library for the width of `width` (SYS_WIN32 or SYS_WIN64): the two differ only in
// their system kind and their function-table offsets. Raises common::Error with the failing
// HRESULT.
void WriteTypeLibrary(const LibraryDescription& library, SYSKIND width, const std::wstring& path);

}  // namespace legacy::typelib
