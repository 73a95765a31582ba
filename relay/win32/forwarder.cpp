// The forwarding thread: connection, start-up, one call at a time, the kept position.
#include "relay/win32/forwarder.h"

#include <ws2tcpip.h>

#include <cstdio>

#include "common/error.h"
#include "common/utf16.h"
#include "opencid/ncid_server_lines.h"
#include "relay/forwarding.h"
#include "relay/win32/file_log_store.h"

namespace relay::win32 {
namespace {

constexpr DWORD kFirstPauseMs = 1000, kLongestPauseMs = 30000;
constexpr DWORD kStartUpMs = 5000, kAcceptMs = 10000;
constexpr std::size_t kMaxLineBytes = 4096;
// Of a long start-up history only the newest lines can hold a call in doubt.
constexpr std::size_t kMaxStartUpLines = 50000;

SOCKET Connect(const std::string& host, unsigned port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return INVALID_SOCKET;
  SOCKET link = INVALID_SOCKET;
  for (addrinfo* address = found; address && link == INVALID_SOCKET; address = address->ai_next) {
    link = socket(address->ai_family, address->ai_socktype, address->ai_protocol);
    if (link != INVALID_SOCKET && connect(link, address->ai_addr, static_cast<int>(address->ai_addrlen)) != 0) {
      closesocket(link);
      link = INVALID_SOCKET;
    }
  }
  freeaddrinfo(found);
  return link;
}

// A log file's text with its identity on the disk (volume and file index, which a rename
// keeps), both from one opening so that they belong together. When the file is the one that
// holds `place`, reading begins at the place's line (if a line begins there). A file that is
// not there is empty; one that cannot be read throws, as taking it for empty would send calls
// again.
struct ReadLog {
  std::string identity, text;
  std::uint64_t from = 0;
  LogFile File() const { return {identity, text, from}; }
};

[[noreturn]] void FailReading(const std::wstring& path, DWORD code) {
  throw common::Error(path + L": " + SystemReason(code), static_cast<std::int32_t>(HRESULT_FROM_WIN32(code)));
}

// Places the file pointer at `from` when the byte before it ends a line; the place taken.
std::uint64_t SeekToLine(HANDLE file, std::uint64_t from) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(from - 1);
  char before = 0;
  DWORD got = 0;
  if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, &before, 1, &got, nullptr) && got == 1 &&
      before == '\n')
    return from;
  at.QuadPart = 0;
  SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
  return 0;
}

ReadLog ReadWithIdentity(const std::wstring& path, const ForwardPoint& place = {}) {
  ReadLog read;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return read;
    FailReading(path, code);
  }
  BY_HANDLE_FILE_INFORMATION information;
  if (GetFileInformationByHandle(file, &information)) {
    char identity[64];
    std::snprintf(identity, sizeof identity, "%lx-%lx%08lx", static_cast<unsigned long>(information.dwVolumeSerialNumber),
                  static_cast<unsigned long>(information.nFileIndexHigh), static_cast<unsigned long>(information.nFileIndexLow));
    read.identity = identity;
  }
  if (!read.identity.empty() && read.identity == place.file && ReadFrom(place) > 0)
    read.from = SeekToLine(file, ReadFrom(place));
  char buffer[65536];
  DWORD got = 0;
  BOOL ok;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) read.text.append(buffer, got);
  const DWORD code = GetLastError();
  CloseHandle(file);
  if (!ok) FailReading(path, code);
  return read;
}

// The file read from the place's line on when that confirms the place, else whole.
ReadLog ReadForPlace(const std::wstring& path, const ForwardPoint& place) {
  ReadLog read = ReadWithIdentity(path, place);
  if (read.from > 0 && !Holds(read.File(), place)) read = ReadWithIdentity(path);
  return read;
}

}  // namespace

Forwarder::Forwarder(std::string host, unsigned port, std::wstring logPath, NoteHandler note)
    : host_(std::move(host)), port_(port), logPath_(std::move(logPath)), note_(std::move(note)) {
  // The first run forwards what comes from now on, not the history already logged.
  if (GetFileAttributesW((logPath_ + L".forwarded").c_str()) == INVALID_FILE_ATTRIBUTES) {
    SetAccepted(EndOf(ReadWithIdentity(logPath_).File()));
  }
  thread_ = std::thread([this] { Run(); });
}

Forwarder::~Forwarder() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void Forwarder::Announce() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    announced_ = true;
  }
  changed_.notify_all();
}

std::wstring Forwarder::State() const {
  std::lock_guard<std::mutex> guard(lock_);
  return state_;
}

void Forwarder::SetState(std::wstring state) {
  std::lock_guard<std::mutex> guard(lock_);
  state_ = std::move(state);
}

bool Forwarder::Wait(DWORD milliseconds) {
  std::unique_lock<std::mutex> guard(lock_);
  changed_.wait_for(guard, std::chrono::milliseconds(milliseconds), [this] { return stopping_; });
  return !stopping_;
}

void Forwarder::Run() noexcept {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  DWORD pause = kFirstPauseMs;
  const std::wstring upstream = common::FromUtf8(host_) + L":" + std::to_wstring(port_);
  while (true) {
    try {
      SOCKET link = Connect(host_, port_);
      if (link != INVALID_SOCKET) {
        SetState(L"connected to " + upstream);
        note_(L"Forwarding to " + upstream + L".");
        const bool heard = Connection(link);
        closesocket(link);
        if (heard) pause = kFirstPauseMs;
        note_(L"Forwarding to " + upstream + L" is interrupted.");
      }
    } catch (...) {
      note_(L"Forwarding failed.");
    }
    SetState(L"waiting for " + upstream);
    if (!Wait(pause)) break;
    pause = std::min(pause * 2, kLongestPauseMs);
  }
  WSACleanup();
}

bool Forwarder::Connection(SOCKET link) {
  pending_.clear();
  std::string line;
  // The server's start-up, up to its end (or a quiet pause, for a server that sends none).
  std::vector<std::string> startUp;
  while (ReadLine(link, line, kStartUpMs)) {
    if (line.rfind("300", 0) == 0) break;
    if (startUp.size() == kMaxStartUpLines) startUp.erase(startUp.begin(), startUp.begin() + kMaxStartUpLines / 2);
    startUp.push_back(line);
  }
  PassOverTakenAlready(startUp);
  bool heard = false;
  while (true) {
    {
      std::lock_guard<std::mutex> guard(lock_);
      announced_ = false;  // what was announced is in the log read next
    }
    for (const auto& due : Due()) {
      if (!Forward(link, due)) return heard;
      heard = true;
    }
    std::unique_lock<std::mutex> guard(lock_);
    changed_.wait_for(guard, std::chrono::milliseconds(500), [this] { return stopping_ || announced_; });
    if (stopping_) return heard;
    if (announced_) continue;
    guard.unlock();
    // Meanwhile the server's lines are read and passed over; a closed link ends the connection.
    fd_set set;
    FD_ZERO(&set);
    FD_SET(link, &set);
    timeval none{0, 0};
    if (select(0, &set, nullptr, nullptr, &none) > 0 && !ReadLine(link, line, 1)) return heard;
  }
}

std::vector<DueCall> Forwarder::Due() const {
  // Only what follows the last accepted call is read. The current file first: a rotation
  // between the reads then shows the same file twice, never a file missed.
  const ForwardPoint lastAccepted = LastAccepted();
  const ReadLog current = ReadForPlace(logPath_, lastAccepted);
  if (Holds(current.File(), lastAccepted)) return CallsToForward({}, current.File(), lastAccepted);
  return CallsToForward(ReadForPlace(OlderLogPath(logPath_), lastAccepted).File(), current.File(), lastAccepted);
}

void Forwarder::PassOverTakenAlready(const std::vector<std::string>& startUp) {
  const ReadLog current = ReadWithIdentity(logPath_);
  const ReadLog older = ReadWithIdentity(OlderLogPath(logPath_));
  if (const auto taken = TakenAlready(older.File(), current.File(), LastAccepted(), startUp)) {
    SetAccepted(*taken);
    note_(L"The upstream server has the last call sent already; it is not sent again.");
  }
}

bool Forwarder::Forward(SOCKET link, const DueCall& due) {
  const opencid::CallFields& call = due.call;
  const std::string line = opencid::GatewayCallLine(call) + "\r\n";
  if (send(link, line.data(), static_cast<int>(line.size()), 0) != static_cast<int>(line.size())) return false;
  std::string answer;
  const ULONGLONG deadline = GetTickCount64() + kAcceptMs;
  while (GetTickCount64() < deadline) {
    if (!ReadLine(link, answer, static_cast<DWORD>(deadline - GetTickCount64()))) return false;
    if (AcceptedBy(answer, call)) {
      SetAccepted(due.after);
      return true;
    }
  }
  return false;
}

bool Forwarder::ReadLine(SOCKET link, std::string& line, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (true) {
    const std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      line = pending_.substr(0, end);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      pending_.erase(0, end + 1);
      return true;
    }
    if (pending_.size() > kMaxLineBytes) pending_.clear();
    const ULONGLONG now = GetTickCount64();
    if (now > deadline) return false;
    fd_set set;
    FD_ZERO(&set);
    FD_SET(link, &set);
    const ULONGLONG left = deadline > now ? deadline - now : 0;
    timeval wait{static_cast<long>(left / 1000), static_cast<long>(left % 1000 * 1000)};
    if (select(0, &set, nullptr, nullptr, &wait) <= 0) return false;
    char buffer[4096];
    const int received = recv(link, buffer, sizeof buffer, 0);
    if (received <= 0) return false;
    pending_.append(buffer, static_cast<std::size_t>(received));
  }
}

ForwardPoint Forwarder::LastAccepted() const {
  return ReadForwardPoint(ReadWithIdentity(logPath_ + L".forwarded").text);
}

void Forwarder::SetAccepted(const ForwardPoint& point) {
  // Written beside and moved over, so a kill leaves the old position or the new one.
  const std::wstring path = logPath_ + L".forwarded", fresh = path + L".new";
  HANDLE file = CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = ForwardPointText(point);
  DWORD written = 0;
  const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && FlushFileBuffers(file);
  CloseHandle(file);
  if (ok) MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

}  // namespace relay::win32
