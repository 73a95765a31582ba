// Forwarding to an upstream NCID server as a gateway does: the call log is the queue. What
// is still to go is what the log holds after the last call the upstream accepted, found by
// its place in the log (which file, and where its line ends), not by its texts: the same
// number may ring twice in a minute. A file keeps its identity when rotated, so the place
// survives a rotation; when that file is gone (rotated away twice), all of the log goes. A
// place kept by an older relay names only the call: then it is the last such call in the log.
// The upstream accepts a call when it reports it back as a call line with its number and time.
// A link lost between the upstream taking a call and its report leaves that call in doubt:
// on reconnecting, the upstream's start-up history (its call log's lines) tells.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "opencid/ncid_line.h"

namespace relay {

// One of the call log's files as read, with its identity on the disk (empty when unknown):
// its text from `from` on, which is 0 or where a line of the file begins.
struct LogFile {
  std::string identity;
  std::string_view text;
  std::uint64_t from = 0;
};

// Where a call's line ends in the log; the call itself confirms the place.
struct ForwardPoint {
  std::string file;  // empty: the place is not known
  std::uint64_t end = 0;
  std::optional<opencid::CallFields> call;
  bool operator==(const ForwardPoint&) const = default;
};

struct DueCall {
  opencid::CallFields call;
  ForwardPoint after;  // the place to keep once the upstream has it
  bool operator==(const DueCall&) const = default;
};

std::vector<DueCall> CallsToForward(const LogFile& older, const LogFile& current, const ForwardPoint& lastAccepted);

// Where reading the file that holds `point` may begin: at the start of the point's own line
// as this log writes it, so that the line confirms the place.
std::uint64_t ReadFrom(const ForwardPoint& point);
// Whether `file` as read holds the point, confirmed by the call on the line that ends there.
bool Holds(const LogFile& file, const ForwardPoint& point);

// The place after the first calls still to go that the upstream's start-up lines show it has
// already (it took them, but its report was lost with the link); nullopt when it has none.
// A call is the upstream's when one of its history lines has the call's number, time, month
// and day, and stands after the last call accepted before it; the same number twice in a
// minute counts twice.
std::optional<ForwardPoint> TakenAlready(const LogFile& older, const LogFile& current, const ForwardPoint& lastAccepted,
                                         const std::vector<std::string>& upstreamStartUp);

// The place where everything in `current` has gone already (forwarding's first run).
ForwardPoint EndOf(const LogFile& current);

// The kept place's text (the call's log line, then the place) and back.
std::string ForwardPointText(const ForwardPoint& point);
ForwardPoint ReadForwardPoint(std::string_view text);

bool AcceptedBy(std::string_view upstreamLine, const opencid::CallFields& sent);

// "HOST:PORT" or "[IPv6]:PORT", port 3333 when left out; false when it is not one.
bool ParseUpstream(std::string_view text, std::string& host, unsigned& port);

}  // namespace relay
