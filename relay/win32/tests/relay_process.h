// The relay as the tests run it: cidrelay.exe started with its options, its console output
// collected in a file, its port read from what it prints; and a plain NCID client on a socket.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace relay::win32::testing {

class RelayProcess {
 public:
  // Waits until the relay listens; `options` as on its command line.
  explicit RelayProcess(const std::wstring& options);
  ~RelayProcess();
  RelayProcess(const RelayProcess&) = delete;
  RelayProcess& operator=(const RelayProcess&) = delete;

  unsigned Port() const { return port_; }
  std::string Output() const;
  // Waits (serving this thread's messages) until the output holds `text`.
  bool WaitFor(const std::string& text, DWORD timeoutMs = 20000) const;
  void Kill();

 private:
  std::wstring outputPath_;
  PROCESS_INFORMATION process_{};
  unsigned port_ = 0;
};

// A client that reads what the relay sends, line by line.
class NcidClient {
 public:
  // `receiveBuffer`: the socket's receive buffer in bytes, 0 for the system's.
  explicit NcidClient(unsigned port, int receiveBuffer = 0);
  ~NcidClient();
  NcidClient(const NcidClient&) = delete;
  NcidClient& operator=(const NcidClient&) = delete;

  // Reads until `count` lines starting with `prefix` have come, the link ends or the time is
  // up; false unless they came.
  bool ReadUntil(const std::string& prefix, std::size_t count, DWORD timeoutMs);
  // Reads everything until the relay closes the link; false when it stays open.
  bool ReadToEnd(DWORD timeoutMs);
  std::vector<std::string> Lines(const std::string& prefix) const;

 private:
  bool ReadSome(DWORD waitMs);  // false when the link ended

  SOCKET socket_ = INVALID_SOCKET;
  std::string pending_;
  std::vector<std::string> lines_;
  bool ended_ = false;
};

// A temporary folder, removed with what is in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

std::string ReadWholeFile(const std::wstring& path);
// Serves this thread's messages, asking every 50 ms, until `done` holds or the time is up.
bool Eventually(const std::function<bool()>& done, DWORD timeoutMs);
unsigned FreePort();

}  // namespace relay::win32::testing
