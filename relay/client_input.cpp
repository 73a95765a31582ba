// Reading a client's lines.
#include "relay/client_input.h"

#include "opencid/ncid_server_lines.h"

namespace relay {
namespace {

std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  return line;
}

}  // namespace

ClientInput::Outcome ClientInput::Feed(std::string_view bytes) {
  Outcome outcome;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, end);
    if (pending_.size() + piece.size() > kMaxClientLineBytes) {
      outcome.drop = true;
      pending_.clear();
      return outcome;
    }
    if (end == std::string_view::npos) {
      pending_.append(piece);
      break;
    }
    pending_.append(piece);
    if (Trimmed(pending_) == opencid::kKeepAliveRequest) outcome.answers.emplace_back(opencid::kKeepAliveAnswer);
    pending_.clear();
    bytes.remove_prefix(end + 1);
  }
  return outcome;
}

}  // namespace relay
