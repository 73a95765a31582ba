// Forwarding every call to an upstream NCID server, on a thread of its own: it connects
// (again after 1 s, doubling to 30 s, after any loss), takes the server's start-up, then sends
// each call still to go as a gateway's call line and waits for the server to report it back
// before the next, so calls arrive once each and in order; a call whose report was lost with
// the link is sent again only if the server's start-up history lacks it. The place of the
// last accepted call in the log is kept in "<call log>.forwarded", so forwarding resumes
// there after a restart; the first run starts after the calls already in the log.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "relay/forwarding.h"

namespace relay::win32 {

class Forwarder {
 public:
  using NoteHandler = std::function<void(const std::wstring& text)>;

  Forwarder(std::string host, unsigned port, std::wstring logPath, NoteHandler note);
  ~Forwarder();
  Forwarder(const Forwarder&) = delete;
  Forwarder& operator=(const Forwarder&) = delete;

  // A call is now in the log.
  void Announce();
  std::wstring State() const;

 private:
  void Run() noexcept;
  bool Connection(SOCKET link);
  bool Forward(SOCKET link, const DueCall& due);
  bool ReadLine(SOCKET link, std::string& line, DWORD timeoutMs);
  std::vector<DueCall> Due() const;
  void PassOverTakenAlready(const std::vector<std::string>& startUp);
  ForwardPoint LastAccepted() const;
  void SetAccepted(const ForwardPoint& point);
  void SetState(std::wstring state);
  bool Wait(DWORD milliseconds);  // false when stopping

  const std::string host_;
  const unsigned port_;
  const std::wstring logPath_;
  NoteHandler note_;
  mutable std::mutex lock_;
  std::condition_variable changed_;
  bool announced_ = false;  // a call was logged since the log was last read
  bool stopping_ = false;
  std::wstring state_ = L"connecting";
  std::string pending_;  // bytes of a line not yet ended
  std::thread thread_;
};

}  // namespace relay::win32
