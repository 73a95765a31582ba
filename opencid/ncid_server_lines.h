// The lines a network caller-ID server writes, for the relay that serves calls and for its
// forwarding to another server: a call as its clients get it and as the call log keeps it
//   CID: *DATE*mmddyyyy*TIME*hhmm*LINE*label*NMBR*number*MESG*NONE*NAME*name*
// the start-up a client receives on connecting (greeting, API line, the log's newest calls as
// CIDLOG lines, end of log, end of start-up), the keep-alive answer, and a gateway's call line
//   CALL: ###DATEmmddhhmm...LINElabel...NMBRnumber...NAMEname+++
// Field values must already be clean (no '*', no line ends): see the relay's call fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "opencid/ncid_line.h"

namespace opencid {

inline constexpr std::string_view kKeepAliveRequest = "REQ: YO";
inline constexpr std::string_view kKeepAliveAnswer = "ACK: REQ YO";

// `type` is "CID" for a new call, "CIDLOG" for one of the log.
std::string CallLine(std::string_view type, const CallFields& call);

// The start-up lines, without line ends; `history` holds the calls to replay, oldest first.
std::vector<std::string> ServerStartLines(std::string_view serverName, const std::vector<CallFields>& history);

std::string GatewayCallLine(const CallFields& call);

}  // namespace opencid
