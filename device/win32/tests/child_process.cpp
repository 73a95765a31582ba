#include "device/win32/tests/child_process.h"

#include <windows.h>

namespace test {
namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::string Drain(HANDLE pipe) {
  std::string output;
  DWORD available = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
    char buffer[4096];
    DWORD read = 0;
    if (!ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) || read == 0) break;
    output.append(buffer, read);
  }
  return output;
}

// A file that holds the input, readable by a child from its start and gone once closed.
HANDLE InputFile(const std::string& input, SECURITY_ATTRIBUTES& inherit) {
  wchar_t folder[MAX_PATH], path[MAX_PATH];
  if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"in", 0, path)) return INVALID_HANDLE_VALUE;
  HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherit,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return file;
  DWORD written = 0;
  WriteFile(file, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  return file;
}

}  // namespace

ChildResult RunChild(const std::wstring& commandLine, unsigned long timeoutMs, const std::string& input) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 1 << 16)) return {static_cast<unsigned long>(-1), "no pipe"};
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  HANDLE inputFile = input.empty() ? INVALID_HANDLE_VALUE : InputFile(input, inherit);
  startup.hStdInput = inputFile != INVALID_HANDLE_VALUE ? inputFile : GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  std::wstring command = commandLine;
  const BOOL started =
      CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  if (inputFile != INVALID_HANDLE_VALUE) CloseHandle(inputFile);
  if (!started) {
    CloseHandle(readEnd);
    return {static_cast<unsigned long>(-1), "cannot start"};
  }
  std::string output;
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD wait = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 20, QS_ALLINPUT);
    output += Drain(readEnd);
    if (wait == WAIT_OBJECT_0) break;
    Pump();
    if (GetTickCount() - start > timeoutMs) {
      TerminateProcess(process.hProcess, 1);
      break;
    }
  }
  output += Drain(readEnd);
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(readEnd);
  return {code, output};
}

}  // namespace test
