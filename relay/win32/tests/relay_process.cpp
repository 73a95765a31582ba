// Starting and watching the relay, and reading it as a client.
#include "relay/win32/tests/relay_process.h"

#include <ws2tcpip.h>

#include <shellapi.h>

#include "common/utf16.h"
#include "monitor/win32/tests/end_to_end_support.h"
#include "tray/win32/tests/message_pump.h"

namespace relay::win32::testing {

std::string ReadWholeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

unsigned FreePort() {
  SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  closesocket(probe);
  return ntohs(address.sin_port);
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  path_ = std::wstring(base) + L"relay-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(GetTickCount64());
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  std::wstring from = path_ + L'\0';
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationW(&operation);
}

RelayProcess::RelayProcess(const std::wstring& options) {
  static int runs = 0;
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  outputPath_ = std::wstring(base) + L"relay-output-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++runs) + L".txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileW(outputPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring commandLine = L"\"" + monitor::win32::testing::BuiltPath(CIDRELAY_PATH) + L"\" run " + options;
  CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                 &process_);
  CloseHandle(output);
  if (!WaitFor("Listening on port ")) return;
  const std::string text = Output();
  port_ = static_cast<unsigned>(std::stoul(text.substr(text.find("Listening on port ") + 18)));
}

RelayProcess::~RelayProcess() {
  Kill();
  DeleteFileW(outputPath_.c_str());
}

std::string RelayProcess::Output() const { return ReadWholeFile(outputPath_); }

bool Eventually(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!done()) {
    if (GetTickCount64() >= deadline) return false;
    tray::testing::PumpFor(50);
  }
  return true;
}

bool RelayProcess::WaitFor(const std::string& text, DWORD timeoutMs) const {
  return Eventually([&] { return Output().find(text) != std::string::npos; }, timeoutMs);
}

void RelayProcess::Kill() {
  if (!process_.hProcess) return;
  TerminateProcess(process_.hProcess, 9);
  WaitForSingleObject(process_.hProcess, 10000);
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
  process_ = {};
}

NcidClient::NcidClient(unsigned port, int receiveBuffer) {
  socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (receiveBuffer > 0)
    setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer), sizeof receiveBuffer);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(port));
  connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
}

NcidClient::~NcidClient() { closesocket(socket_); }

bool NcidClient::ReadSome(DWORD waitMs) {
  if (ended_) return false;
  fd_set set;
  FD_ZERO(&set);
  FD_SET(socket_, &set);
  timeval wait{0, static_cast<long>(waitMs * 1000)};
  if (select(0, &set, nullptr, nullptr, &wait) <= 0) return true;
  char buffer[65536];
  const int received = recv(socket_, buffer, sizeof buffer, 0);
  if (received <= 0) {
    ended_ = true;
    return false;
  }
  pending_.append(buffer, static_cast<std::size_t>(received));
  for (std::size_t end; (end = pending_.find("\r\n")) != std::string::npos; pending_.erase(0, end + 2))
    lines_.push_back(pending_.substr(0, end));
  return true;
}

bool NcidClient::ReadUntil(const std::string& prefix, std::size_t count, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (Lines(prefix).size() < count && GetTickCount64() < deadline && ReadSome(50)) tray::testing::PumpWaitingMessages();
  return Lines(prefix).size() >= count;
}

bool NcidClient::ReadToEnd(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < deadline && ReadSome(50)) tray::testing::PumpWaitingMessages();
  return ended_;
}

std::vector<std::string> NcidClient::Lines(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& line : lines_)
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  return found;
}

}  // namespace relay::win32::testing
