// cidrelay.exe: the call relay. "cidrelay run [--setting value]..." serves in this console
// until Ctrl+C; "cidrelay status [--port N]" asks a running relay how it is; "install",
// "remove", "start" and "stop" manage the relay service, which the service manager runs as
// "cidrelay service".
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/utf16.h"
#include "relay/win32/relay_host.h"
#include "relay/win32/relay_service.h"

namespace {

// Set by Ctrl+C or a closing console; the console's handler has nothing else to reach.
HANDLE stopEvent = nullptr;

void Print(const std::wstring& text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(out, &mode)) {
    WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else {
    const std::string utf8 = common::ToUtf8(text);
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  }
}

void Note(const std::wstring& text) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t stamp[32];
  swprintf(stamp, 32, L"%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
           now.wSecond);
  Print(stamp + text + L"\r\n");
}

BOOL WINAPI OnConsoleControl(DWORD) {
  SetEvent(stopEvent);
  return TRUE;
}

relay::RelaySettings Settings(const std::vector<std::wstring>& options, relay::win32::RunMode mode) {
  relay::RelaySettings settings = relay::win32::ReadRegistrySettings(Note);
  relay::ApplyOptions(settings, options);
  if (settings.logPath.empty()) settings.logPath = relay::win32::DefaultLogPath(mode);
  return settings;
}

int Run(const std::vector<std::wstring>& options) {
  const relay::RelaySettings settings = Settings(options, relay::win32::RunMode::Console);
  stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  relay::win32::RunRelay(settings, stopEvent, Note, [](unsigned) {});
  Note(L"Stopped.");
  return 0;
}

int Status(const std::vector<std::wstring>& options) {
  const relay::RelaySettings settings = Settings(options, relay::win32::RunMode::Console);
  Print(relay::win32::QueryStatus(settings.port));
  return 0;
}

int Service() {
  const bool dispatched = relay::win32::RunAsService([](HANDLE stop, const std::function<void(const std::wstring&)>& note) {
    relay::RelaySettings settings = relay::win32::ReadRegistrySettings(note);
    if (settings.logPath.empty()) settings.logPath = relay::win32::DefaultLogPath(relay::win32::RunMode::Service);
    relay::win32::RunRelay(settings, stop, note, [](unsigned) {});
  });
  if (!dispatched) Print(L"Only the service manager starts \"cidrelay service\"; use \"cidrelay start\".\r\n");
  return dispatched ? 0 : 1;
}

std::wstring ThisProgram() {
  wchar_t path[MAX_PATH * 2];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  return std::wstring(path, length);
}

int ServiceCommand(const std::wstring& command) {
  if (command == L"install") relay::win32::InstallService(ThisProgram());
  else if (command == L"remove") relay::win32::RemoveService();
  else if (command == L"start") relay::win32::StartRelayService();
  else relay::win32::StopRelayService();
  Print(L"The relay service: " + command + L" done.\r\n");
  return 0;
}

constexpr const wchar_t* kUsage =
    L"cidrelay run [--port N] [--device-class {CLSID}] [--allowed-clients LIST] [--log-path FILE]\r\n"
    L"             [--log-limit BYTES] [--history N] [--upstream HOST:PORT]\r\n"
    L"cidrelay status [--port N]\r\n"
    L"cidrelay install | remove | start | stop      the Windows service (as an administrator)\r\n";

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  const std::vector<std::wstring> options(argv + std::min(argc, 2), argv + argc);
  try {
    if (command == L"run") return Run(options);
    if (command == L"status") return Status(options);
    if (command == L"service") return Service();
    if (command == L"install" || command == L"remove" || command == L"start" || command == L"stop")
      return ServiceCommand(command);
    Print(kUsage);
    return 2;
  } catch (const common::Error& error) {
    Print(error.Message() + L"\r\n");
  } catch (const std::exception& error) {
    Print(common::FromUtf8(error.what()) + L"\r\n");
  }
  return 1;
}
