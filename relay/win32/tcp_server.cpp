// Accepting, reading and writing the relay's clients.
#include "relay/win32/tcp_server.h"

#include <iphlpapi.h>
#include <ws2tcpip.h>

#include "common/error.h"
#include "common/utf16.h"
#include "relay/win32/file_log_store.h"

namespace relay::win32 {
namespace {

constexpr int kPollMs = 50;
constexpr std::size_t kMaxClients = 1000;
constexpr DWORD kSubnetsMaxAgeMs = 60000;

IpAddress AddressOf(const sockaddr* address) {
  IpAddress ip;
  if (address->sa_family == AF_INET6) {
    ip.v6 = true;
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
    std::copy(v6->sin6_addr.s6_addr, v6->sin6_addr.s6_addr + 16, ip.bytes.begin());
  } else {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&v4->sin_addr);
    std::copy(bytes, bytes + 4, ip.bytes.begin());
  }
  return Unmapped(ip);
}

std::wstring TextOf(const sockaddr* address, int length) {
  wchar_t text[64];
  DWORD size = 64;
  if (WSAAddressToStringW(const_cast<sockaddr*>(address), static_cast<DWORD>(length), nullptr, text, &size) != 0)
    return L"?";
  return text;
}

class SocketLink final : public ClientSocket {
 public:
  explicit SocketLink(SOCKET socket) : socket_(socket) {}
  std::optional<std::size_t> Send(std::string_view bytes) override {
    const int sent = send(socket_, bytes.data(), static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 20)), 0);
    if (sent >= 0) return static_cast<std::size_t>(sent);
    if (WSAGetLastError() == WSAEWOULDBLOCK) return 0;
    return std::nullopt;
  }

 private:
  SOCKET socket_;
};

}  // namespace

struct TcpServer::Client {
  SOCKET socket;
  SocketLink link;
  std::wstring peer;
};

TcpServer::TcpServer(CallRelay& relay, unsigned port, AllowedClients allowed, NoteHandler note)
    : relay_(relay), port_(port), allowed_(std::move(allowed)), note_(std::move(note)) {
  WSADATA data;
  winsock_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  if (!winsock_) throw common::Error(L"No network (Winsock cannot start).");
  Listen(AF_INET);
  Listen(AF_INET6);
  if (listeners_.empty())
    throw common::Error(L"Cannot listen on port " + std::to_wstring(port) + L": " + SystemReason(WSAGetLastError()));
}

TcpServer::~TcpServer() {
  for (SOCKET listener : listeners_) closesocket(listener);
  for (auto& [id, client] : clients_) closesocket(client->socket);
  for (SOCKET socket : closing_) closesocket(socket);
  if (winsock_) WSACleanup();
}

void TcpServer::Listen(int family) {
  SOCKET listener = socket(family, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) return;
  sockaddr_storage address{};
  int length = 0;
  if (family == AF_INET6) {
    DWORD only = 1;
    setsockopt(listener, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&only), sizeof only);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(static_cast<u_short>(port_));
    length = sizeof *v6;
  } else {
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
    v4->sin_family = AF_INET;
    v4->sin_port = htons(static_cast<u_short>(port_));
    length = sizeof *v4;
  }
  BOOL exclusive = TRUE;
  setsockopt(listener, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
  u_long nonBlocking = 1;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listener, SOMAXCONN) != 0 ||
      ioctlsocket(listener, FIONBIO, &nonBlocking) != 0) {
    const int code = WSAGetLastError();
    closesocket(listener);
    WSASetLastError(code);
    return;
  }
  // Port 0: the second family takes the port the first was given.
  int bound = sizeof address;
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &bound);
  port_ = ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
  listeners_.push_back(listener);
}

void TcpServer::Run(HANDLE stop) {
  std::vector<WSAPOLLFD> polled;
  std::vector<ClientId> ids;
  while (WaitForSingleObject(stop, 0) == WAIT_TIMEOUT) {
    polled.clear();
    ids.clear();
    for (SOCKET listener : listeners_) polled.push_back({listener, POLLRDNORM, 0});
    {
      std::lock_guard<std::mutex> guard(lock_);
      for (SOCKET socket : closing_) closesocket(socket);
      closing_.clear();
      for (auto& [id, client] : clients_) {
        polled.push_back({client->socket, static_cast<SHORT>(POLLRDNORM | (relay_.WantsWriting(id) ? POLLWRNORM : 0)), 0});
        ids.push_back(id);
      }
    }
    const int ready = WSAPoll(polled.data(), static_cast<ULONG>(polled.size()), kPollMs);
    if (ready < 0) Sleep(kPollMs);  // a failing poll must not spin
    if (ready <= 0) continue;
    for (std::size_t index = 0; index < listeners_.size(); ++index)
      if (polled[index].revents & POLLRDNORM) Accept(listeners_[index]);
    char buffer[4096];
    std::lock_guard<std::mutex> guard(lock_);
    for (std::size_t index = 0; index < ids.size(); ++index) {
      const WSAPOLLFD& entry = polled[listeners_.size() + index];
      const auto found = clients_.find(ids[index]);
      if (found == clients_.end() || entry.revents == 0) continue;
      bool keep = true;
      if (entry.revents & (POLLRDNORM | POLLHUP | POLLERR)) {
        const int received = recv(entry.fd, buffer, sizeof buffer, 0);
        if (received > 0) keep = relay_.Received(ids[index], std::string_view(buffer, static_cast<std::size_t>(received)));
        else keep = received < 0 && WSAGetLastError() == WSAEWOULDBLOCK;
        if (!keep) relay_.Disconnect(ids[index]);
      }
      if (keep && (entry.revents & POLLWRNORM)) keep = relay_.Writable(ids[index]);
      if (!keep) Drop(ids[index]);
    }
  }
}

void TcpServer::Accept(SOCKET listener) {
  sockaddr_storage address{};
  int length = sizeof address;
  const SOCKET socket = accept(listener, reinterpret_cast<sockaddr*>(&address), &length);
  if (socket == INVALID_SOCKET) return;
  const std::wstring peer = TextOf(reinterpret_cast<sockaddr*>(&address), length);
  const bool allowed = allowed_.Allows(AddressOf(reinterpret_cast<sockaddr*>(&address)), LocalSubnets());
  std::lock_guard<std::mutex> guard(lock_);
  if (!allowed || clients_.size() >= kMaxClients) {
    closesocket(socket);
    note_(L"Refused a client from " + peer + (allowed ? L": too many clients" : L": not an allowed client"));
    return;
  }
  u_long nonBlocking = 1;
  ioctlsocket(socket, FIONBIO, &nonBlocking);
  BOOL noDelay = TRUE;
  setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
  // The system's buffer for a client is bounded as its queue is, so a client that stops
  // reading is noticed after a known amount and many clients cost a known memory.
  int sendBuffer = static_cast<int>(kClientQueueBytes);
  setsockopt(socket, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&sendBuffer), sizeof sendBuffer);
  const ClientId id = nextId_++;
  Client& client = *clients_.emplace(id, std::make_unique<Client>(Client{socket, SocketLink(socket), peer})).first->second;
  note_(L"Client " + peer + L" connected.");
  if (!relay_.Connect(id, client.link)) Drop(id);
}

void TcpServer::Call(const opencid::CallFields& call) {
  std::lock_guard<std::mutex> guard(lock_);
  for (ClientId id : relay_.Call(call, static_cast<std::int64_t>(GetTickCount64() / 1000))) Drop(id);
}

void TcpServer::Drop(ClientId id) {
  const auto found = clients_.find(id);
  if (found == clients_.end()) return;
  note_(L"Client " + found->second->peer + L" is gone.");
  shutdown(found->second->socket, SD_BOTH);
  closing_.push_back(found->second->socket);
  clients_.erase(found);
}

std::size_t TcpServer::ClientCount() const {
  std::lock_guard<std::mutex> guard(lock_);
  return clients_.size();
}

std::vector<Subnet> TcpServer::LocalSubnets() {
  if (subnetsRead_ != 0 && GetTickCount() - subnetsRead_ < kSubnetsMaxAgeMs) return localSubnets_;
  subnetsRead_ = GetTickCount() | 1;
  localSubnets_.clear();
  ULONG size = 16384;
  std::vector<unsigned char> buffer;
  ULONG result = ERROR_BUFFER_OVERFLOW;
  for (int attempt = 0; attempt < 3 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
    buffer.resize(size);
    result = GetAdaptersAddresses(AF_UNSPEC, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER,
                                  nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
  }
  if (result != NO_ERROR) return localSubnets_;
  for (auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter; adapter = adapter->Next)
    for (auto* unicast = adapter->FirstUnicastAddress; unicast; unicast = unicast->Next)
      localSubnets_.push_back({AddressOf(unicast->Address.lpSockaddr), unicast->OnLinkPrefixLength});
  return localSubnets_;
}

}  // namespace relay::win32
