// Corrections made to a saved type library file.
// - Wine's writer counts IDispatch's seven functions into a pure dispinterface's function
//   table, so loaders would list them among its members; compilers store only the
//   dispinterface's own members there.
// - A writer of one width that writes a library of the other takes the inherited functions'
//   table size in its own width, so every function-table offset after them is off by their
//   count times the difference.
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

// Moves the function-table offsets and the table size of the interface at `typeIndex`, whose
// `inherited` functions were laid out with `writerPointerSize`-byte entries, to
// `libraryPointerSize`-byte entries. Raises common::Error as above.
void ResizeInheritedTable(const std::wstring& path, int typeIndex, std::size_t inherited,
                          std::size_t writerPointerSize, std::size_t libraryPointerSize);

}  // namespace legacy::typelib
