// Formatting the server's lines.
#include "opencid/ncid_server_lines.h"

namespace opencid {

std::string CallLine(std::string_view type, const CallFields& call) {
  std::string line;
  line.reserve(64 + call.line.size() + call.number.size() + call.name.size());
  line.append(type).append(": *DATE*").append(call.date);
  line.append("*TIME*").append(call.time);
  line.append("*LINE*").append(call.line);
  line.append("*NMBR*").append(call.number);
  line.append("*MESG*NONE*NAME*").append(call.name).append("*");
  return line;
}

std::vector<std::string> ServerStartLines(std::string_view serverName, const std::vector<CallFields>& history) {
  std::vector<std::string> lines;
  lines.reserve(history.size() + 4);
  lines.push_back("200 NCID Server: " + std::string(serverName));
  // Feature set 1 (calls) and 4, of which only the keep-alive's acknowledgement is given: a
  // client that knows it asks a quiet relay whether it is still there.
  lines.push_back("210 API: 1.0 Feature Set 1 4");
  for (const CallFields& call : history) lines.push_back(CallLine("CIDLOG", call));
  lines.push_back(history.empty() ? "252 Call log empty" : "250 End of call log");
  lines.push_back("300 End of server startup");
  return lines;
}

std::string GatewayCallLine(const CallFields& call) {
  // The gateway's DATE is month, day, hour and minute: the receiving server adds its year.
  const std::string monthDay = call.date.size() == 8 ? call.date.substr(0, 4) : std::string("0101");
  return "CALL: ###DATE" + monthDay + call.time + "...LINE" + call.line + "...NMBR" + call.number + "...NAME" +
         call.name + "+++";
}

}  // namespace opencid
