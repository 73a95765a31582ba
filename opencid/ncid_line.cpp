// Reading the server's line types and the *NAME*value* pairs of its call lines.
#include "opencid/ncid_line.h"

#include <array>

namespace opencid {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// A status line: three digits, then the end or a blank.
bool IsStatus(std::string_view line, std::string_view code) {
  return StartsWith(line, code) && (line.size() == code.size() || line[code.size()] == ' ');
}

// The fields after the line's type: "*KEY*value*KEY*value*...".
bool ReadCall(std::string_view fields, CallFields& call) {
  struct Slot {
    std::string_view key;
    std::string* value;
    bool seen;
  };
  std::array<Slot, 5> slots{{{"DATE", &call.date, false},
                             {"TIME", &call.time, false},
                             {"LINE", &call.line, false},
                             {"NMBR", &call.number, false},
                             {"NAME", &call.name, false}}};
  std::size_t star = fields.find('*');
  while (star != std::string_view::npos) {
    const std::size_t keyEnd = fields.find('*', star + 1);
    if (keyEnd == std::string_view::npos) break;
    std::size_t valueEnd = fields.find('*', keyEnd + 1);
    const std::string_view key = fields.substr(star + 1, keyEnd - star - 1);
    const std::string_view value =
        fields.substr(keyEnd + 1, (valueEnd == std::string_view::npos ? fields.size() : valueEnd) - keyEnd - 1);
    for (Slot& slot : slots)
      if (slot.key == key && !slot.seen) {
        slot.seen = true;
        slot.value->assign(value);
      }
    star = valueEnd;
  }
  return slots[3].seen;
}

}  // namespace

NcidLine ParseNcidLine(std::string_view line) {
  NcidLine parsed;
  if (IsStatus(line, "200")) {
    parsed.kind = NcidKind::Greeting;
    std::string_view server = line.substr(std::min<std::size_t>(line.size(), 4));
    const std::size_t label = server.find("Server: ");
    if (label != std::string_view::npos) server.remove_prefix(label + 8);
    parsed.server.assign(server.empty() ? std::string_view("NCID") : server);
    return parsed;
  }
  for (std::string_view code : {"250", "251", "252", "253", "300"})
    if (IsStatus(line, code)) {
      parsed.kind = NcidKind::EndOfLog;
      return parsed;
    }
  for (std::string_view type : {"CID", "WID", "PID"}) {
    if (!StartsWith(line, type)) continue;
    const std::string_view rest = line.substr(type.size());
    if (StartsWith(rest, ":") && ReadCall(rest.substr(1), parsed.call)) parsed.kind = NcidKind::Call;
    else if (StartsWith(rest, "LOG:") && ReadCall(rest.substr(4), parsed.call)) parsed.kind = NcidKind::LoggedCall;
  }
  return parsed;
}

}  // namespace opencid
