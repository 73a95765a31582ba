// Built files, the console tool and the registered library for the device tests.
#include "device_test_support.h"

#include "activex/server_module.h"
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
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, &inherit, 0);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = write;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &process)) {
    CloseHandle(read);
    CloseHandle(write);
    return {-1, L"cannot start " + line};
  }
  CloseHandle(write);
  std::string bytes;
  auto drain = [&] {
    DWORD waiting = 0, got = 0;
    char buffer[4096];
    while (PeekNamedPipe(read, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0 &&
           ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0)
      bytes.append(buffer, got);
  };
  // The devices live on this thread: serve their messages while the tool waits for them.
  while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 20000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    drain();
  }
  drain();
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(read);
  return {static_cast<int>(code), common::FromUtf8(bytes)};
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
