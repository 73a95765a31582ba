// Serving the calls to the clients.
#include "relay/call_relay.h"

#include "opencid/ncid_server_lines.h"

namespace relay {

CallRelay::CallRelay(CallLog& log, std::string serverName) : log_(log), serverName_(std::move(serverName)) {}

bool CallRelay::Connect(ClientId id, ClientSocket& socket) {
  Client& client = clients_.insert_or_assign(id, Client{&socket, ClientInput(), OutputQueue()}).first->second;
  // The newest calls that fit in half a queue, so a long history never costs a connection.
  std::vector<opencid::CallFields> history = log_.History();
  std::size_t bytes = 0, first = history.size();
  while (first > 0 && (bytes += opencid::CallLine("CIDLOG", history[first - 1]).size() + 2) <= kClientQueueBytes / 2)
    --first;
  history.erase(history.begin(), history.begin() + static_cast<std::ptrdiff_t>(first));
  std::string start;
  for (const std::string& line : opencid::ServerStartLines(serverName_, history)) start += line + "\r\n";
  if (Queue(client, start) && Flush(client)) return true;
  clients_.erase(id);
  return false;
}

bool CallRelay::Received(ClientId id, std::string_view bytes) {
  const auto found = clients_.find(id);
  if (found == clients_.end()) return false;
  ClientInput::Outcome outcome = found->second.input.Feed(bytes);
  bool keep = !outcome.drop;
  for (const std::string& answer : outcome.answers) keep = keep && Queue(found->second, answer + "\r\n");
  keep = keep && Flush(found->second);
  if (!keep) clients_.erase(found);
  return keep;
}

bool CallRelay::Writable(ClientId id) {
  const auto found = clients_.find(id);
  if (found == clients_.end()) return false;
  if (Flush(found->second)) return true;
  clients_.erase(found);
  return false;
}

std::vector<ClientId> CallRelay::Call(const opencid::CallFields& call, std::int64_t nowSeconds) {
  log_.Append(call, nowSeconds);
  const std::string line = opencid::CallLine("CID", call) + "\r\n";
  std::vector<ClientId> dropped;
  for (auto client = clients_.begin(); client != clients_.end();) {
    if (Queue(client->second, line) && Flush(client->second)) {
      ++client;
    } else {
      dropped.push_back(client->first);
      client = clients_.erase(client);
    }
  }
  return dropped;
}

bool CallRelay::WantsWriting(ClientId id) const {
  const auto found = clients_.find(id);
  return found != clients_.end() && !found->second.queue.Empty();
}

bool CallRelay::Queue(Client& client, std::string_view bytes) { return client.queue.Push(bytes); }

bool CallRelay::Flush(Client& client) {
  while (!client.queue.Empty()) {
    const std::optional<std::size_t> sent = client.socket->Send(client.queue.Pending());
    if (!sent) return false;
    if (*sent == 0) return true;
    client.queue.Sent(*sent);
  }
  return true;
}

}  // namespace relay
