// The server's greeting, its replayed log and its live calls, across reconnections.
#include "opencid/ncid_session.h"

#include <algorithm>

#include "common/utf16.h"

namespace opencid {

void NcidSession::Connected() {
  greeted_ = false;
  inLog_ = true;
  passedKnown_ = false;
  log_.clear();
}

std::vector<device::CallerId> NcidSession::Line(std::string_view text, const LocalTime& now) {
  const NcidLine line = ParseNcidLine(text);
  switch (line.kind) {
    case NcidKind::Greeting:
      greeted_ = true;
      serverName_ = common::FromUtf8(line.server);
      return {};
    case NcidKind::LoggedCall:
      if (inLog_) {
        log_.push_back(line.call);
        if (log_.size() > kMostLoggedCalls) {
          passedKnown_ = passedKnown_ || (!known_.empty() && log_.front() == known_.back());
          log_.pop_front();
        }
      }
      return {};
    case NcidKind::EndOfLog:
      return inLog_ ? EndOfLog(now) : std::vector<device::CallerId>{};
    case NcidKind::Call: {
      // A server that sends no end of its log ends it with its first live call.
      std::vector<device::CallerId> calls = inLog_ ? EndOfLog(now) : std::vector<device::CallerId>{};
      calls.push_back(Raise(line.call, now));
      return calls;
    }
    case NcidKind::Other:
      return {};
  }
  return {};
}

std::vector<device::CallerId> NcidSession::EndOfLog(const LocalTime& now) {
  inLog_ = false;
  std::vector<device::CallerId> calls;
  const std::size_t first = connectedBefore_ ? FirstNewInLog() : log_.size();
  for (std::size_t call = first; call < log_.size(); ++call) calls.push_back(Raise(log_[call], now));
  if (!log_.empty()) {
    // The log is what the server knows, in its order: its latest calls are the known ones.
    known_.assign(log_.end() - static_cast<std::ptrdiff_t>(std::min(log_.size(), kKnownCalls)), log_.end());
  }
  connectedBefore_ = true;
  log_.clear();
  return calls;
}

// The log position after the known calls: where the longest run of the latest known calls
// ends in the log (the latest such place on a tie); the log's end when none ends there, or its
// start when the last known call was among the calls dropped for the bound.
std::size_t NcidSession::FirstNewInLog() const {
  if (known_.empty()) return 0;
  std::size_t best = log_.size(), bestRun = 0;
  for (std::size_t end = log_.size(); end > 0; --end) {
    std::size_t run = 0;
    while (run < end && run < known_.size() && log_[end - 1 - run] == known_[known_.size() - 1 - run]) ++run;
    if (run > bestRun) {
      bestRun = run;
      best = end;
    }
  }
  return bestRun == 0 && passedKnown_ ? 0 : best;
}

void NcidSession::Know(const CallFields& call) {
  known_.push_back(call);
  if (known_.size() > kKnownCalls) known_.pop_front();
}

device::CallerId NcidSession::Raise(const CallFields& call, const LocalTime& now) {
  Know(call);
  return {deviceId_, lines_.NumberOf(call.line), common::FromUtf8(call.number),
          NcidCallTime(call.date, call.time, now), common::FromUtf8(call.name)};
}

}  // namespace opencid
