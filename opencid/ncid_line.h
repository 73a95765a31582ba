// One line of a network caller-ID server, by what it means to us. The server greets with
// "200 <server name and version>", may replay its call log ("CIDLOG: ..." and other "...LOG:"
// lines) up to a "250"-"253" or "300" status line, and then reports calls as
//   CID: *DATE*mmddyyyy*TIME*hhmm*LINE*label*NMBR*number*MESG*NONE*NAME*name*
// Incoming calls are CID (a ringing line), WID (a call waiting on a line in use) and PID (a
// call to a mobile phone, relayed by it), with their log forms CIDLOG, WIDLOG and PIDLOG.
// Every other line (ring and hang-up information, messages and notices, blocked, outgoing and
// ringback calls, voicemail waiting, options, unknown types) is Other. A call line without a
// NMBR field is Other too; of a doubled field the first counts.
#pragma once

#include <string>
#include <string_view>

namespace opencid {

struct CallFields {
  std::string date, time, line, number, name;
  bool operator==(const CallFields&) const = default;
};

enum class NcidKind { Greeting, Call, LoggedCall, EndOfLog, Other };

struct NcidLine {
  NcidKind kind = NcidKind::Other;
  CallFields call;     // Call, LoggedCall
  std::string server;  // Greeting: the server's name and version
};

NcidLine ParseNcidLine(std::string_view line);

}  // namespace opencid
