// The server's greeting, its replayed log and its live calls, across reconnections.
#include "opencid/ncid_session.h"

#include <algorithm>

#include "common/utf16.h"

namespace opencid {

void NcidSession::Connected() {
  greeted_ = false;
  inLog_ = true;
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
      if (inLog_) log_.push_back(line.call);
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
  if (connectedBefore_) {
    auto from = log_.begin();
    if (lastKnown_) {
      auto known = std::find(log_.rbegin(), log_.rend(), *lastKnown_);
      from = known == log_.rend() ? log_.end() : known.base();
    }
    for (auto call = from; call != log_.end(); ++call) calls.push_back(Raise(*call, now));
  }
  if (!log_.empty()) lastKnown_ = log_.back();
  connectedBefore_ = true;
  log_.clear();
  return calls;
}

device::CallerId NcidSession::Raise(const CallFields& call, const LocalTime& now) {
  lastKnown_ = call;
  return {deviceId_, lines_.NumberOf(call.line), common::FromUtf8(call.number),
          NcidCallTime(call.date, call.time, now), common::FromUtf8(call.name)};
}

}  // namespace opencid
