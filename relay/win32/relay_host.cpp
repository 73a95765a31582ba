// Putting the relay together: settings, log, server, device, status.
#include "relay/win32/relay_host.h"

#include <shlobj.h>

#include <ctime>
#include <thread>

#include "common/error.h"
#include "common/utf16.h"
#include "monitor/win32/tevrin5_control.h"
#include "relay/call_fields.h"
#include "relay/call_log.h"
#include "relay/call_relay.h"
#include "relay/win32/device_source.h"
#include "relay/forwarding.h"
#include "relay/win32/file_log_store.h"
#include "relay/win32/forwarder.h"
#include "relay/win32/tcp_server.h"

namespace relay::win32 {
namespace {

constexpr const char* kServerName = "cidrelay 1.0";

std::wstring PipeName(unsigned port) { return L"\\\\.\\pipe\\cidrelay-" + std::to_wstring(port); }

std::wstring GuidText(const CLSID& clsid) {
  wchar_t text[64];
  StringFromGUID2(clsid, text, 64);
  return text;
}

opencid::LocalTime Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
}

// A mark that only this run of the relay puts in its greeting.
std::wstring OwnMark() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  wchar_t mark[32];
  swprintf(mark, 32, L"#%08lX%04lX", static_cast<unsigned long>(counter.LowPart ^ GetTickCount()),
           static_cast<unsigned long>(GetCurrentProcessId() & 0xFFFF));
  return mark;
}

// Answers each connection to the pipe with the status text, until stopped.
class StatusPipe {
 public:
  StatusPipe(unsigned port, std::function<std::wstring()> status)
      : name_(PipeName(port)), status_(std::move(status)), thread_([this] { Serve(); }) {}
  ~StatusPipe() {
    stopping_ = true;
    // Wakes the waiting ConnectNamedPipe.
    HANDLE wake = CreateFileW(name_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (wake != INVALID_HANDLE_VALUE) CloseHandle(wake);
    thread_.join();
  }

 private:
  void Serve() noexcept {
    while (!stopping_) {
      HANDLE pipe = CreateNamedPipeW(name_.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 4, 4096, 0, 0,
                                     nullptr);
      if (pipe == INVALID_HANDLE_VALUE) return;
      if (ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED) {
        if (!stopping_) {
          try {
            const std::string text = common::ToUtf8(status_());
            DWORD written = 0;
            WriteFile(pipe, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
            FlushFileBuffers(pipe);
          } catch (...) {
          }
        }
        DisconnectNamedPipe(pipe);
      }
      CloseHandle(pipe);
    }
  }

  const std::wstring name_;
  std::function<std::wstring()> status_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

std::wstring ReadString(HKEY key, const wchar_t* name, bool& found) {
  DWORD type = 0, size = 0;
  found = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
  if (!found) return {};
  std::vector<BYTE> data(size + sizeof(wchar_t) * 2);
  RegQueryValueExW(key, name, nullptr, &type, data.data(), &size);
  if (type == REG_DWORD && size == sizeof(DWORD)) return std::to_wstring(*reinterpret_cast<DWORD*>(data.data()));
  if (type == REG_QWORD && size == sizeof(ULONGLONG))
    return std::to_wstring(*reinterpret_cast<ULONGLONG*>(data.data()));
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
  std::wstring text(reinterpret_cast<const wchar_t*>(data.data()));
  if (type == REG_EXPAND_SZ) {
    wchar_t expanded[MAX_PATH * 2];
    if (ExpandEnvironmentStringsW(text.c_str(), expanded, MAX_PATH * 2)) text = expanded;
  }
  return text;
}

}  // namespace

RelaySettings ReadRegistrySettings(const std::function<void(const std::wstring&)>& note) {
  RelaySettings settings;
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return settings;
  for (const wchar_t* name : kSettingNames) {
    bool found = false;
    const std::wstring value = ReadString(key, name, found);
    if (!found) continue;
    try {
      SetSetting(settings, name, value);
    } catch (const common::Error& error) {
      note(L"Setting ignored: " + error.Message());
    }
  }
  RegCloseKey(key);
  return settings;
}

std::wstring DefaultLogPath(RunMode mode) {
  wchar_t* folder = nullptr;
  const KNOWNFOLDERID& id = mode == RunMode::Service ? FOLDERID_ProgramData : FOLDERID_LocalAppData;
  std::wstring path = L".";
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &folder))) path = folder;
  CoTaskMemFree(folder);
  return path + L"\\CallerIdRelay\\cidcall.log";
}

void RunRelay(const RelaySettings& settings, HANDLE stop, const std::function<void(const std::wstring&)>& note,
              const std::function<void(unsigned port)>& started) {
  const CLSID deviceClass =
      settings.deviceClass.empty() ? monitor::win32::CLSID_Tevrin5 : ClassIdOf(settings.deviceClass);
  const AllowedClients allowed(common::ToUtf8(settings.allowedClients));
  std::mutex noteLock;
  auto safeNote = [&](const std::wstring& text) {
    std::lock_guard<std::mutex> guard(noteLock);
    note(text);
  };
  FileLogStore store(settings.logPath);
  CallLog log(store, settings.logLimit, settings.history, safeNote);
  log.Open(static_cast<std::int64_t>(GetTickCount64() / 1000));
  const std::wstring mark = OwnMark();
  CallRelay relay(log, std::string(kServerName) + " " + common::ToUtf8(mark));
  TcpServer server(relay, settings.port, allowed, safeNote);
  safeNote(L"Listening on port " + std::to_wstring(server.Port()) + L"; call log " + settings.logPath);
  started(server.Port());

  std::unique_ptr<Forwarder> forwarder;
  if (!settings.upstream.empty()) {
    std::string host;
    unsigned port = 0;
    ParseUpstream(common::ToUtf8(settings.upstream), host, port);
    forwarder = std::make_unique<Forwarder>(host, port, settings.logPath, safeNote);
  }
  std::mutex deviceLock;
  DeviceSource* source = nullptr;
  StatusPipe status(server.Port(), [&] {
    std::lock_guard<std::mutex> guard(deviceLock);
    WIN32_FILE_ATTRIBUTE_DATA file{};
    GetFileAttributesExW(settings.logPath.c_str(), GetFileExInfoStandard, &file);
    const ULONGLONG size = (static_cast<ULONGLONG>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
    return L"Device: " + GuidText(deviceClass) + L" " + (source ? source->State() : std::wstring(L"starting")) +
           L"\r\nClients: " + std::to_wstring(server.ClientCount()) + L"\r\nUpstream: " +
           (forwarder ? forwarder->State() : std::wstring(L"none")) +
           L"\r\nCall log: " + settings.logPath + L" (" + std::to_wstring(size) + L" bytes, limit " +
           std::to_wstring(settings.logLimit) + L")\r\n";
  });
  DeviceSource device(deviceClass, mark,
                      [&](const device::CallerId& call) {
                        try {
                          const opencid::CallFields fields = FieldsOfDeviceCall(call, Now());
                          server.Call(fields);
                          if (forwarder) forwarder->Announce();
                        } catch (...) {
                          safeNote(L"A call could not be relayed.");
                        }
                      },
                      safeNote);
  {
    std::lock_guard<std::mutex> guard(deviceLock);
    source = &device;
  }
  server.Run(stop);
  std::lock_guard<std::mutex> guard(deviceLock);
  source = nullptr;
}

std::wstring QueryStatus(unsigned port) {
  const std::wstring name = PipeName(port);
  HANDLE pipe = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 20 && pipe == INVALID_HANDLE_VALUE; ++attempt) {
    pipe = CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PIPE_BUSY) WaitNamedPipeW(name.c_str(), 250);
    else if (pipe == INVALID_HANDLE_VALUE) break;
  }
  if (pipe == INVALID_HANDLE_VALUE) throw common::Error(L"No relay is running on port " + std::to_wstring(port) + L".");
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(pipe);
  return common::FromUtf8(text);
}

}  // namespace relay::win32
