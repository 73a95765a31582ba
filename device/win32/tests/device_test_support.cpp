// Built files, the console tool and the registered library for the device tests.
#include "device_test_support.h"

#include "activex/server_module.h"
#include "device/win32/tests/child_process.h"
#include "common/utf16.h"

namespace device::test {

std::wstring BuiltFile(const wchar_t* name) {
  std::wstring folder = activex::ModuleFolder();
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

ToolRun RunDevctl(const std::wstring& arguments) {
  return RunProgram(L"\"" + BuiltFile(L"devctl.exe") + L"\" " + arguments);
}

ToolRun RunProgram(std::wstring line) {
  const ::test::ChildResult run = ::test::RunChild(line);
  return {static_cast<int>(run.exitCode), common::FromUtf8(run.output)};
}

DeviceLibrary::DeviceLibrary() : module_(LoadLibraryW(BuiltFile(L"devsim.dll").c_str())) {
  EXPECT_NE(nullptr, module_);
  EXPECT_EQ(S_OK, Install(true, L"force"));
}

DeviceLibrary::~DeviceLibrary() { FreeLibrary(module_); }

HRESULT DeviceLibrary::Call(const char* export_) const {
  auto function = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(module_, export_)));
  return function ? function() : E_NOTIMPL;
}

HRESULT DeviceLibrary::Install(bool install, const wchar_t* commandLine) const {
  auto function = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllInstall")));
  return function ? function(install, commandLine) : E_NOTIMPL;
}

}  // namespace device::test
