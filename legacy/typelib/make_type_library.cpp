// Build step: writes the Upgrade_v4 type library of one width to the file named on the command
// line. A 64-bit writer writes the 32-bit library too, for machines that run no 32-bit programs.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "common/error.h"
#include "legacy/typelib/type_library_writer.h"
#include "legacy/typelib/upgrade_v4.h"

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const bool known = argv && argc == 3 && (argv[1] == std::wstring(L"win32") || argv[1] == std::wstring(L"win64"));
  if (!known) {
    std::fputs("usage: make_type_library win32|win64 OUTPUT.tlb\n", stderr);
    return 2;
  }
  const SYSKIND width = argv[1] == std::wstring(L"win64") ? SYS_WIN64 : SYS_WIN32;
  const std::wstring path = argv[2];
  LocalFree(argv);
  int status = 0;
  CoInitialize(nullptr);
  try {
    legacy::typelib::WriteTypeLibrary(legacy::typelib::UpgradeV4(), width, path);
  } catch (const common::Error& e) {
    std::fprintf(stderr, "%s (0x%08lX)\n", e.what(), static_cast<unsigned long>(e.SystemCode()));
    status = 1;
  }
  CoUninitialize();
  return status;
}
