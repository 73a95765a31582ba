// Forwarding to an upstream NCID server as a gateway does: the call log is the queue. What
// is still to go is what the log holds after the last call the upstream accepted (kept on
// disk across restarts); when that call is no longer in the log (rotated away), all of the
// log goes. The upstream accepts a call when it reports it back as a call line with its
// number and time.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "opencid/ncid_line.h"

namespace relay {

std::vector<opencid::CallFields> CallsToForward(const std::vector<opencid::CallFields>& log,
                                                const std::optional<opencid::CallFields>& lastAccepted);

bool AcceptedBy(std::string_view upstreamLine, const opencid::CallFields& sent);

// "HOST:PORT" or "[IPv6]:PORT", port 3333 when left out; false when it is not one.
bool ParseUpstream(std::string_view text, std::string& host, unsigned& port);

}  // namespace relay
