// What the simulated device's tests share: the built files, registration in the test prefix,
// running the console tool while the test's thread keeps serving its windows.
#pragma once

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace device::test {

std::wstring BuiltFile(const wchar_t* name);  // devsim.dll, devctl.exe

struct ToolRun {
  int exitCode;
  std::wstring output;  // standard output and error, UTF-8 decoded
};
// Runs a program (a full command line), pumping this thread's messages while it runs.
ToolRun RunProgram(std::wstring commandLine);
// Runs devctl with the arguments (already quoted as needed).
ToolRun RunDevctl(const std::wstring& arguments);

// devsim.dll loaded and registered (forced, in the private prefix) for the test.
class DeviceLibrary {
 public:
  DeviceLibrary();
  ~DeviceLibrary();
  HRESULT Call(const char* export_) const;
  HRESULT Install(bool install, const wchar_t* commandLine) const;

 private:
  HMODULE module_;
};

}  // namespace device::test
