// Build step: writes the Upgrade_v4 type library to the file named on the command line.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "common/error.h"
#include "legacy/typelib/type_library_writer.h"
#include "legacy/typelib/upgrade_v4.h"

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 2) {
    std::fputs("usage: make_type_library OUTPUT.tlb\n", stderr);
    return 2;
  }
  const std::wstring path = argv[1];
  LocalFree(argv);
  int status = 0;
  CoInitialize(nullptr);
  try {
    legacy::typelib::WriteTypeLibrary(legacy::typelib::UpgradeV4(), path);
  } catch (const common::Error& e) {
    std::fprintf(stderr, "%s (0x%08lX)\n", e.what(), static_cast<unsigned long>(e.SystemCode()));
    status = 1;
  }
  CoUninitialize();
  return status;
}
