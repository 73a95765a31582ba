// Which calls the upstream still needs, and whether it took one.
#include "relay/forwarding.h"

#include <algorithm>

namespace relay {

std::vector<opencid::CallFields> CallsToForward(const std::vector<opencid::CallFields>& log,
                                                const std::optional<opencid::CallFields>& lastAccepted) {
  if (!lastAccepted) return log;
  const auto found = std::find(log.rbegin(), log.rend(), *lastAccepted);
  if (found == log.rend()) return log;
  return {found.base(), log.end()};
}

bool AcceptedBy(std::string_view upstreamLine, const opencid::CallFields& sent) {
  const opencid::NcidLine line = opencid::ParseNcidLine(upstreamLine);
  return line.kind == opencid::NcidKind::Call && line.call.number == sent.number && line.call.time == sent.time;
}

bool ParseUpstream(std::string_view text, std::string& host, unsigned& port) {
  port = 3333;
  std::size_t portAt = std::string_view::npos;
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return false;
    host.assign(text.substr(1, close - 1));
    if (close + 1 < text.size()) {
      if (text[close + 1] != ':') return false;
      portAt = close + 2;
    }
  } else {
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos && text.find(':', colon + 1) != std::string_view::npos) return false;
    host.assign(text.substr(0, colon));
    if (colon != std::string_view::npos) portAt = colon + 1;
  }
  if (portAt != std::string_view::npos) {
    const std::string_view digits = text.substr(portAt);
    if (digits.empty() || digits.size() > 5 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return false;
    port = static_cast<unsigned>(std::stoul(std::string(digits)));
    if (port == 0 || port > 65535) return false;
  }
  return !host.empty();
}

}  // namespace relay
