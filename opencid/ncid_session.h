// What a network caller-ID server tells the device over its connections: whether it has
// greeted (and with what name), and which calls to raise. The call log that the first
// connection replays is history and raises nothing. After a reconnection, the replayed log's
// calls after the last calls already known arrive, each once; the known calls are found where
// the most of them, in order, end in the log, so a number that rang twice in one minute is
// not taken for the copy already known. When the last known call is not in the replayed log
// (the server's log was cleared or rotated), nothing of the log is raised. The replayed log
// kept is bounded: only its latest calls count.
#pragma once

#include <deque>
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
  static constexpr std::size_t kMostLoggedCalls = 4096, kKnownCalls = 32;

  // `savedLines`: the line numbers that SavedLines() gave before.
  explicit NcidSession(std::wstring deviceId, std::string_view savedLines = {})
      : deviceId_(std::move(deviceId)), lines_(savedLines) {}

  // A new connection: the server greets and replays its log again.
  void Connected();
  void Disconnected() { greeted_ = false; }
  // The calls that one line of the server completes; `now` stands in for a broken time.
  std::vector<device::CallerId> Line(std::string_view line, const LocalTime& now);

  bool Greeted() const { return greeted_; }
  const std::wstring& ServerName() const { return serverName_; }
  std::string SavedLines() const { return lines_.Saved(); }

 private:
  std::vector<device::CallerId> EndOfLog(const LocalTime& now);
  std::size_t FirstNewInLog() const;
  void Know(const CallFields& call);
  device::CallerId Raise(const CallFields& call, const LocalTime& now);

  std::wstring deviceId_;
  LineNumbers lines_;
  bool greeted_ = false;
  std::wstring serverName_;
  bool connectedBefore_ = false;  // a log replayed after this is not all history
  bool inLog_ = false;
  std::deque<CallFields> log_;
  bool passedKnown_ = false;  // the last known call was dropped from the front of log_
  std::deque<CallFields> known_;  // the latest calls known, oldest first
};

}  // namespace opencid
