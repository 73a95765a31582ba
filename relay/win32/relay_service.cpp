// Installing, controlling and running the relay service, and its event log entries.
#include "relay/win32/relay_service.h"

#include <memory>
#include <utility>

#include "common/error.h"
#include "relay/win32/file_log_store.h"

namespace relay::win32 {
namespace {

constexpr const wchar_t* kDisplayName = L"Caller-ID relay";
constexpr const wchar_t* kEventSourceKey = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\CidRelay";
constexpr DWORD kStartFailed = 1;

[[noreturn]] void Fail(const std::wstring& what) {
  const DWORD code = GetLastError();
  throw common::Error(what + L": " + SystemReason(code), static_cast<std::int32_t>(HRESULT_FROM_WIN32(code)));
}

struct ServiceHandle {
  SC_HANDLE handle;
  explicit ServiceHandle(SC_HANDLE opened) : handle(opened) {}
  ~ServiceHandle() {
    if (handle) CloseServiceHandle(handle);
  }
  ServiceHandle(const ServiceHandle&) = delete;
  ServiceHandle& operator=(const ServiceHandle&) = delete;
};

ServiceHandle OpenRelayService(DWORD access) {
  ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager.handle) Fail(L"The service manager cannot be opened");
  ServiceHandle service(OpenServiceW(manager.handle, kServiceName, access));
  if (!service.handle) Fail(L"The relay service cannot be opened");
  return ServiceHandle(std::exchange(service.handle, nullptr));
}

void WriteEvent(WORD type, const std::wstring& text) {
  HANDLE source = RegisterEventSourceW(nullptr, kServiceName);
  if (!source) return;
  const wchar_t* strings[] = {text.c_str()};
  ReportEventW(source, type, 0, 0, nullptr, 1, 0, strings, nullptr);
  DeregisterEventSource(source);
}

// Waits until the service leaves `pending` (30 s at most); its final state.
SERVICE_STATUS WaitWhile(SC_HANDLE service, DWORD pending) {
  SERVICE_STATUS status{};
  for (int attempt = 0; attempt < 300; ++attempt) {
    if (!QueryServiceStatus(service, &status) || status.dwCurrentState != pending) break;
    Sleep(100);
  }
  return status;
}

// The running service's state, shared by the service manager's thread and the body's.
struct Running {
  SERVICE_STATUS_HANDLE handle = nullptr;
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ServiceBody body;

  void Report(DWORD state, DWORD exitCode = NO_ERROR) {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    status.dwWin32ExitCode = exitCode == NO_ERROR ? NO_ERROR : ERROR_SERVICE_SPECIFIC_ERROR;
    status.dwServiceSpecificExitCode = exitCode;
    status.dwWaitHint = state == SERVICE_RUNNING || state == SERVICE_STOPPED ? 0 : 10000;
    SetServiceStatus(handle, &status);
  }
};
Running* running = nullptr;  // the service manager's callbacks carry no context

DWORD WINAPI OnControl(DWORD control, DWORD, void*, void*) {
  if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
    running->Report(SERVICE_STOP_PENDING);
    SetEvent(running->stop);
    return NO_ERROR;
  }
  return control == SERVICE_CONTROL_INTERROGATE ? NO_ERROR : ERROR_CALL_NOT_IMPLEMENTED;
}

void WINAPI ServiceMain(DWORD, wchar_t**) {
  running->handle = RegisterServiceCtrlHandlerExW(kServiceName, OnControl, nullptr);
  if (!running->handle) return;
  running->Report(SERVICE_START_PENDING);
  DWORD exitCode = NO_ERROR;
  try {
    bool reported = false;
    running->body(running->stop, [&](const std::wstring& text) {
      // The first note says the relay listens: it is running.
      if (!reported) running->Report(SERVICE_RUNNING);
      reported = true;
      if (text.rfind(L"Client ", 0) != 0) WriteEvent(EVENTLOG_INFORMATION_TYPE, text);
    });
  } catch (const common::Error& error) {
    WriteEvent(EVENTLOG_ERROR_TYPE, L"The relay service stopped: " + error.Message());
    exitCode = kStartFailed;
  } catch (...) {
    WriteEvent(EVENTLOG_ERROR_TYPE, L"The relay service stopped: unknown failure");
    exitCode = kStartFailed;
  }
  running->Report(SERVICE_STOPPED, exitCode);
}

}  // namespace

void InstallService(const std::wstring& programPath) {
  ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
  if (!manager.handle) Fail(L"The service manager cannot be opened");
  const std::wstring commandLine = L"\"" + programPath + L"\" service";
  ServiceHandle service(CreateServiceW(manager.handle, kServiceName, kDisplayName, SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                       commandLine.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
  if (!service.handle) Fail(L"The relay service cannot be installed");
  SERVICE_DESCRIPTIONW description{const_cast<wchar_t*>(L"Takes every call of the caller-ID device, keeps the call log "
                                                        L"and serves it to NCID clients.")};
  ChangeServiceConfig2W(service.handle, SERVICE_CONFIG_DESCRIPTION, &description);
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kEventSourceKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
      ERROR_SUCCESS) {
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    RegSetValueExW(key, L"TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types), sizeof types);
    RegCloseKey(key);
  }
}

void RemoveService() {
  ServiceHandle service = OpenRelayService(SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
  SERVICE_STATUS status{};
  if (ControlService(service.handle, SERVICE_CONTROL_STOP, &status)) WaitWhile(service.handle, SERVICE_STOP_PENDING);
  if (!DeleteService(service.handle)) Fail(L"The relay service cannot be removed");
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, kEventSourceKey);
}

void StartRelayService() {
  ServiceHandle service = OpenRelayService(SERVICE_START | SERVICE_QUERY_STATUS);
  if (!StartServiceW(service.handle, 0, nullptr)) Fail(L"The relay service cannot be started");
  const SERVICE_STATUS status = WaitWhile(service.handle, SERVICE_START_PENDING);
  if (status.dwCurrentState != SERVICE_RUNNING)
    throw common::Error(L"The relay service did not start; the Application event log says why.");
}

void StopRelayService() {
  ServiceHandle service = OpenRelayService(SERVICE_STOP | SERVICE_QUERY_STATUS);
  SERVICE_STATUS status{};
  if (!ControlService(service.handle, SERVICE_CONTROL_STOP, &status)) Fail(L"The relay service cannot be stopped");
  if (WaitWhile(service.handle, SERVICE_STOP_PENDING).dwCurrentState != SERVICE_STOPPED)
    throw common::Error(L"The relay service did not stop.");
}

bool RunAsService(ServiceBody body) {
  auto state = std::make_unique<Running>();
  state->body = std::move(body);
  running = state.get();
  wchar_t name[] = L"CidRelay";
  SERVICE_TABLE_ENTRYW table[] = {{name, ServiceMain}, {nullptr, nullptr}};
  const bool dispatched = StartServiceCtrlDispatcherW(table) != FALSE;
  CloseHandle(state->stop);
  running = nullptr;
  return dispatched;
}

}  // namespace relay::win32
