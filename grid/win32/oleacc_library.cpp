#include "grid/win32/oleacc_library.h"

namespace grid::win32 {
namespace {

template <class Function>
Function Export(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

const OleaccLibrary* Oleacc() {
  static const OleaccLibrary library = [] {
    HMODULE module = LoadLibraryW(L"oleacc.dll");
    if (!module) return OleaccLibrary{};
    return OleaccLibrary{
        Export<decltype(&::LresultFromObject)>(module, "LresultFromObject"),
        Export<decltype(&::CreateStdAccessibleObject)>(module, "CreateStdAccessibleObject"),
        Export<decltype(&::AccessibleObjectFromWindow)>(module, "AccessibleObjectFromWindow")};
  }();
  const bool complete =
      library.LresultFromObject && library.CreateStdAccessibleObject && library.AccessibleObjectFromWindow;
  return complete ? &library : nullptr;
}

}  // namespace grid::win32
