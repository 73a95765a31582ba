// Writes a type library file through the system's type-library creation interfaces.
#pragma once

#include <string>

#include "legacy/typelib/type_description.h"

namespace legacy::typelib {

// Raises common::Error with the failing HRESULT.
void WriteTypeLibrary(const LibraryDescription& library, const std::wstring& path);

}  // namespace legacy::typelib
