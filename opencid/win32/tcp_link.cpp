// A TCP connection to a network caller-ID server (Winsock), and the choice of link.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mstcpip.h>

#include "common/error.h"
#include "opencid/win32/serial_link.h"
#include "opencid/win32/source_link.h"

namespace opencid {
namespace {

constexpr long kWaitSliceUs = 250000;
constexpr int kConnectSlices = 20;  // 5 s

std::wstring SocketReason(int code) {
  switch (code) {
    case WSAECONNREFUSED: return L"connection refused";
    case WSAETIMEDOUT: return L"no answer";
    case WSAECONNRESET: return L"connection reset";
    case WSAEHOSTUNREACH:
    case WSAENETUNREACH: return L"host unreachable";
    default: return L"network error " + std::to_wstring(code);
  }
}

// Whether the socket is ready for reading (or writing) within one slice.
bool Ready(SOCKET socket, bool forWriting) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(socket, &set);
  fd_set failed = set;
  timeval wait{0, kWaitSliceUs};
  return select(0, forWriting ? nullptr : &set, forWriting ? &set : nullptr, forWriting ? &failed : nullptr, &wait) > 0;
}

class TcpLink final : public SourceLink {
 public:
  TcpLink(const SourceSetting& source, const std::atomic<bool>& stopping) {
    if (!winsock_.started) throw common::Error(L"no network");
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOW* found = nullptr;
    const std::wstring port = std::to_wstring(source.port);
    if (GetAddrInfoW(source.host.c_str(), port.c_str(), &hints, &found) != 0 || !found)
      throw common::Error(L"unknown host " + source.host);
    std::wstring reason = L"no answer";
    for (ADDRINFOW* address = found; address && socket_ == INVALID_SOCKET && !stopping; address = address->ai_next)
      Connect(*address, stopping, reason);
    FreeAddrInfoW(found);
    if (socket_ == INVALID_SOCKET) throw common::Error(reason);
    ProbeWhenIdle(source.keepAliveSeconds);
  }
  ~TcpLink() override {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
  }

  std::size_t Read(char* buffer, std::size_t size) override {
    if (!Ready(socket_, false)) return 0;
    const int received = recv(socket_, buffer, static_cast<int>(size), 0);
    if (received == 0) throw common::Error(L"the server closed the connection");
    if (received < 0) throw common::Error(SocketReason(WSAGetLastError()));
    return static_cast<std::size_t>(received);
  }

  void Write(std::string_view bytes) override {
    if (send(socket_, bytes.data(), static_cast<int>(bytes.size()), 0) < 0)
      throw common::Error(SocketReason(WSAGetLastError()));
  }

 private:
  // The connection's own probes after `seconds` of silence, a second apart: a host or route
  // that has vanished is noticed some ten probes later, whatever the server understands.
  void ProbeWhenIdle(unsigned seconds) {
    tcp_keepalive probes{1, seconds * 1000, 1000};
    DWORD returned = 0;
    WSAIoctl(socket_, SIO_KEEPALIVE_VALS, &probes, sizeof probes, nullptr, 0, &returned, nullptr, nullptr);
  }

  void Connect(const ADDRINFOW& address, const std::atomic<bool>& stopping, std::wstring& reason) {
    SOCKET attempt = socket(address.ai_family, address.ai_socktype, address.ai_protocol);
    if (attempt == INVALID_SOCKET) return;
    u_long nonBlocking = 1;
    ioctlsocket(attempt, FIONBIO, &nonBlocking);
    connect(attempt, address.ai_addr, static_cast<int>(address.ai_addrlen));
    for (int slice = 0; slice < kConnectSlices && !stopping; ++slice) {
      if (!Ready(attempt, true)) continue;
      int error = 0, length = sizeof error;
      getsockopt(attempt, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
      if (error != 0) {
        reason = SocketReason(error);
        break;
      }
      u_long blocking = 0;
      ioctlsocket(attempt, FIONBIO, &blocking);
      socket_ = attempt;
      return;
    }
    closesocket(attempt);
  }

  // Winsock for as long as the link lives, even when its constructor fails.
  struct Winsock {
    Winsock() {
      WSADATA data;
      started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~Winsock() {
      if (started) WSACleanup();
    }
    bool started;
  } winsock_;
  SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace

std::unique_ptr<SourceLink> OpenLink(const SourceSetting& source, const std::atomic<bool>& stopping) {
  if (source.kind == SourceSetting::Kind::Modem) return OpenSerialLink(source.portName);
  return std::make_unique<TcpLink>(source, stopping);
}

}  // namespace opencid
