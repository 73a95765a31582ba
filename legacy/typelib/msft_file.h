// A correction made to a saved type library file. Wine's writer counts IDispatch's seven
// functions into a pure dispinterface's function table, so loaders would list them among its
// members; compilers store only the dispinterface's own members there.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstddef>
#include <string>

namespace legacy::typelib {

// The size of a function-table entry in a library of this system kind.
std::size_t PointerSize(SYSKIND width);

// Stores `members` function-table entries of `pointerSize` bytes for the dispinterface at
// `typeIndex`. Raises common::Error when the file is not a type library or that type is no
// dispinterface.
void SetDispinterfaceTableSize(const std::wstring& path, int typeIndex, std::size_t members,
                               std::size_t pointerSize);

}  // namespace legacy::typelib
