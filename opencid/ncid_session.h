// What a network caller-ID server tells the device over its connections: whether it has
// greeted (and with what name), and which calls to raise. The call log that the first
// connection replays is history and raises nothing. After a reconnection, the replayed log's
// calls after the last call already known arrive, each once; when that call is not in the
// replayed log (the server's log was cleared or rotated), nothing of the log is raised.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/simulated_device.h"
#include "opencid/call_time.h"
#include "opencid/line_numbers.h"
#include "opencid/ncid_line.h"

namespace opencid {

class NcidSession {
 public:
  explicit NcidSession(std::wstring deviceId) : deviceId_(std::move(deviceId)) {}

  // A new connection: the server greets and replays its log again.
  void Connected();
  void Disconnected() { greeted_ = false; }
  // The calls that one line of the server completes; `now` stands in for a broken time.
  std::vector<device::CallerId> Line(std::string_view line, const LocalTime& now);

  bool Greeted() const { return greeted_; }
  const std::wstring& ServerName() const { return serverName_; }

 private:
  std::vector<device::CallerId> EndOfLog(const LocalTime& now);
  device::CallerId Raise(const CallFields& call, const LocalTime& now);

  std::wstring deviceId_;
  LineNumbers lines_;
  bool greeted_ = false;
  std::wstring serverName_;
  bool connectedBefore_ = false;  // a log replayed after this is not all history
  bool inLog_ = false;
  std::vector<CallFields> log_;
  std::optional<CallFields> lastKnown_;
};

}  // namespace opencid
