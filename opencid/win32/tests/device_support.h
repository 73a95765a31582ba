// What the open-source device control's tests share: a library of the build loaded for its
// registration exports, and a command sent to the device.
#pragma once

#include <windows.h>

#include <string>

#include "open_source_device.h"

namespace opencid::test {

class Library {
 public:
  explicit Library(const char* path);
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // DllInstall; E_NOTIMPL when the library or the export is missing.
  HRESULT Install(bool install, const wchar_t* commandLine) const;
  // An export without arguments (DllRegisterServer, DllUnregisterServer).
  HRESULT Call(const char* name) const;

 private:
  HMODULE module_;
};

// The device's answer; a failed call throws.
std::wstring Command(ITevrin5* device, const wchar_t* text);

}  // namespace opencid::test
