// Writing and reading the call log's lines.
#include "relay/call_log_text.h"

#include "opencid/ncid_server_lines.h"

namespace relay {

std::string LogLine(const opencid::CallFields& call) { return opencid::CallLine("CID", call) + "\n"; }

std::vector<opencid::CallFields> ReadCallLog(std::string_view text) {
  std::vector<opencid::CallFields> calls;
  text = text.substr(0, WholeLinesLength(text));
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const opencid::NcidLine parsed = opencid::ParseNcidLine(line);
    if (parsed.kind == opencid::NcidKind::Call) calls.push_back(parsed.call);
  }
  return calls;
}

std::size_t WholeLinesLength(std::string_view text) {
  const std::size_t lastEnd = text.rfind('\n');
  return lastEnd == std::string_view::npos ? 0 : lastEnd + 1;
}

}  // namespace relay
