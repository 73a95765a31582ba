// The relay's listening side on Winsock: IPv4 and IPv6 listeners on one port, each accepted
// peer checked against the allowed clients (refusals are noted), and one thread that polls
// every client for what it sends and for room to take what waits. Calls come from the
// device's thread and are written straight to every client's socket without waiting; a
// client whose queue fills is dropped, so no client delays another.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "relay/allowed_clients.h"
#include "relay/call_relay.h"

namespace relay::win32 {

class TcpServer {
 public:
  using NoteHandler = std::function<void(const std::wstring& text)>;

  // Listens at once; throws common::Error when no listener can be opened.
  TcpServer(CallRelay& relay, unsigned port, AllowedClients allowed, NoteHandler note);
  ~TcpServer();
  TcpServer(const TcpServer&) = delete;
  TcpServer& operator=(const TcpServer&) = delete;

  unsigned Port() const { return port_; }
  // Serves until `stop` is signalled.
  void Run(HANDLE stop);
  void Call(const opencid::CallFields& call);
  std::size_t ClientCount() const;

 private:
  struct Client;
  void Listen(int family);
  void Accept(SOCKET listener);
  void Drop(ClientId id);
  std::vector<Subnet> LocalSubnets();

  CallRelay& relay_;
  unsigned port_;
  AllowedClients allowed_;
  NoteHandler note_;
  bool winsock_ = false;
  std::vector<SOCKET> listeners_;
  mutable std::mutex lock_;  // the relay and the clients, between the device's and this thread
  std::map<ClientId, std::unique_ptr<Client>> clients_;
  std::vector<SOCKET> closing_;  // closed by the serving thread only, after its poll
  ClientId nextId_ = 1;
  std::vector<Subnet> localSubnets_;
  DWORD subnetsRead_ = 0;
};

}  // namespace relay::win32
