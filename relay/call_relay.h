// The relay's heart, free of sockets: each connected client gets the start-up lines and then
// every call, in order, through its own bounded queue; every call is in the call log before
// it is queued for anyone. The platform says when a client connected, sent bytes, may take
// more, or went away, and closes the connections this returns as dropped (a full queue, a
// line too long, a broken link).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "relay/call_log.h"
#include "relay/client_input.h"
#include "relay/output_queue.h"

namespace relay {

using ClientId = std::uint64_t;

class ClientSocket {
 public:
  virtual ~ClientSocket() = default;
  // The bytes taken now (0 when the link takes none without waiting); nullopt when broken.
  virtual std::optional<std::size_t> Send(std::string_view bytes) = 0;
};

class CallRelay {
 public:
  CallRelay(CallLog& log, std::string serverName);

  // False when the client is to be closed at once.
  bool Connect(ClientId id, ClientSocket& socket);
  bool Received(ClientId id, std::string_view bytes);
  bool Writable(ClientId id);
  void Disconnect(ClientId id) { clients_.erase(id); }

  // Logs the call, then queues it for every client and sends what each link takes; the
  // clients to close.
  std::vector<ClientId> Call(const opencid::CallFields& call, std::int64_t nowSeconds);

  bool WantsWriting(ClientId id) const;
  std::size_t ClientCount() const { return clients_.size(); }
  const std::string& ServerName() const { return serverName_; }

 private:
  struct Client {
    ClientSocket* socket;
    ClientInput input;
    OutputQueue queue;
  };
  bool Queue(Client& client, std::string_view bytes);
  bool Flush(Client& client);

  CallLog& log_;
  const std::string serverName_;
  std::map<ClientId, Client> clients_;
};

}  // namespace relay
