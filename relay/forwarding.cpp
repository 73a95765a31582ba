// Which calls the upstream still needs, and whether it took one.
#include "relay/forwarding.h"

#include <algorithm>

#include "relay/call_log_text.h"

namespace relay {
namespace {

constexpr std::string_view kPlace = "AT ";

// Each call of a file's whole lines, with the place just after its line.
std::vector<DueCall> CallsOf(const LogFile& file) {
  std::vector<DueCall> calls;
  const std::string_view text = file.text.substr(0, WholeLinesLength(file.text));
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start) + 1;
    for (const auto& call : ReadCallLog(text.substr(start, end - start)))
      calls.push_back({call, {file.identity, file.from + end, call}});
    start = end;
  }
  return calls;
}

// The log's calls in order, and where those still to go begin among them.
struct Split {
  std::vector<DueCall> calls;
  std::size_t firstDue = 0;
};

Split SplitAt(const LogFile& older, const LogFile& current, const ForwardPoint& lastAccepted) {
  // The same file read twice: it was rotated between the reads.
  const bool rotatedMeanwhile = !older.identity.empty() && older.identity == current.identity;
  Split split{rotatedMeanwhile ? std::vector<DueCall>{} : CallsOf(older)};
  const std::size_t olderCount = split.calls.size();
  const std::vector<DueCall> currentCalls = CallsOf(current);
  split.calls.insert(split.calls.end(), currentCalls.begin(), currentCalls.end());
  const auto firstAfter = [&](std::size_t from, std::size_t to) {
    while (from < to && split.calls[from].after.end <= lastAccepted.end) ++from;
    return from;
  };
  if (Holds(current, lastAccepted)) {
    split.firstDue = firstAfter(olderCount, split.calls.size());
  } else if (!rotatedMeanwhile && Holds(older, lastAccepted)) {
    split.firstDue = firstAfter(0, olderCount);
  } else if (lastAccepted.file.empty() && lastAccepted.call) {
    const auto found = std::find_if(split.calls.rbegin(), split.calls.rend(),
                                    [&](const DueCall& due) { return due.call == *lastAccepted.call; });
    split.firstDue = static_cast<std::size_t>(found.base() - split.calls.begin());
  }
  return split;
}

// A call as the upstream reports it back: it gives the date its own year, and may rename
// the line and the caller.
bool SameCall(const opencid::CallFields& reported, const opencid::CallFields& sent) {
  return reported.number == sent.number && reported.time == sent.time &&
         reported.date.substr(0, 4) == sent.date.substr(0, 4);
}

using History = std::vector<opencid::CallFields>;

// Where in the history the upstream's report of calls[at] can stand: after the last other
// call sent before it, and after as many reports of its own kind as were sent since that one.
History::const_iterator AfterTheSent(const History& history, const std::vector<DueCall>& calls, std::size_t at) {
  const auto same = [&](const opencid::CallFields& each) { return SameCall(each, calls[at].call); };
  std::size_t other = at;
  while (other > 0 && same(calls[other - 1].call)) --other;
  std::size_t sentBefore = at - other;
  auto from = history.begin();
  if (other > 0) {
    const opencid::CallFields& anchor = calls[other - 1].call;
    const auto found = std::find_if(history.rbegin(), history.rend(),
                                    [&](const opencid::CallFields& each) { return SameCall(each, anchor); });
    if (found != history.rend())
      from = found.base();
    else  // the history no longer reaches it: count from the start of both
      sentBefore = static_cast<std::size_t>(std::count_if(calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(at),
                                                          [&](const DueCall& due) { return same(due.call); }));
  }
  for (; sentBefore > 0; --sentBefore) {
    from = std::find_if(from, history.end(), same);
    if (from == history.end()) return from;
    ++from;
  }
  return from;
}

}  // namespace

bool Holds(const LogFile& file, const ForwardPoint& point) {
  if (point.file.empty() || point.file != file.identity || point.end < file.from) return false;
  const std::string_view text = file.text.substr(0, WholeLinesLength(file.text));
  if (point.end - file.from > text.size()) return false;
  const std::size_t end = static_cast<std::size_t>(point.end - file.from);
  if (end > 0 && text[end - 1] != '\n') return false;
  // Read from the place itself, the line that would confirm it is not there.
  if (end == 0 && file.from > 0) return false;
  if (!point.call) return true;
  const std::size_t lineStart = end < 2 ? std::string_view::npos : text.rfind('\n', end - 2);
  const std::size_t start = lineStart == std::string_view::npos ? 0 : lineStart + 1;
  const std::vector<opencid::CallFields> calls = ReadCallLog(text.substr(start, end - start));
  return calls.size() == 1 && calls.front() == *point.call;
}

std::uint64_t ReadFrom(const ForwardPoint& point) {
  if (!point.call) return 0;
  return point.end - std::min<std::uint64_t>(point.end, LogLine(*point.call).size());
}

std::vector<DueCall> CallsToForward(const LogFile& older, const LogFile& current, const ForwardPoint& lastAccepted) {
  Split split = SplitAt(older, current, lastAccepted);
  split.calls.erase(split.calls.begin(), split.calls.begin() + static_cast<std::ptrdiff_t>(split.firstDue));
  return std::move(split.calls);
}

std::optional<ForwardPoint> TakenAlready(const LogFile& older, const LogFile& current, const ForwardPoint& lastAccepted,
                                         const std::vector<std::string>& upstreamStartUp) {
  History history;
  for (const auto& line : upstreamStartUp) {
    const opencid::NcidLine parsed = opencid::ParseNcidLine(line);
    if (parsed.kind == opencid::NcidKind::LoggedCall) history.push_back(parsed.call);
  }
  const Split split = SplitAt(older, current, lastAccepted);
  if (split.firstDue == split.calls.size()) return std::nullopt;
  std::optional<ForwardPoint> taken;
  // Sent one at a time, in order: each report stands after the one before, and once one is
  // not there, none after it is.
  auto from = AfterTheSent(history, split.calls, split.firstDue);
  for (std::size_t at = split.firstDue; at < split.calls.size(); ++at) {
    const opencid::CallFields& call = split.calls[at].call;
    from = std::find_if(from, history.cend(), [&](const opencid::CallFields& each) { return SameCall(each, call); });
    if (from == history.cend()) break;
    ++from;
    taken = split.calls[at].after;
  }
  return taken;
}

ForwardPoint EndOf(const LogFile& current) {
  const std::vector<DueCall> calls = CallsOf(current);
  const std::uint64_t end = current.from + WholeLinesLength(current.text);
  if (calls.empty()) return {current.identity, end, std::nullopt};
  return {current.identity, end, calls.back().call};
}

std::string ForwardPointText(const ForwardPoint& point) {
  std::string text = point.call ? LogLine(*point.call) : std::string();
  if (!point.file.empty()) text += std::string(kPlace) + point.file + " " + std::to_string(point.end) + "\n";
  return text;
}

ForwardPoint ReadForwardPoint(std::string_view text) {
  ForwardPoint point;
  const std::vector<opencid::CallFields> calls = ReadCallLog(text);
  if (!calls.empty()) point.call = calls.front();
  text = text.substr(0, WholeLinesLength(text));
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.rfind(kPlace, 0) != 0) continue;
    const std::size_t space = line.rfind(' ');
    const std::string_view file = line.substr(kPlace.size(), space - kPlace.size()), digits = line.substr(space + 1);
    if (file.empty() || digits.empty() || digits.size() > 15 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    point.file.assign(file);
    point.end = std::stoull(std::string(digits));
  }
  return point;
}

bool AcceptedBy(std::string_view upstreamLine, const opencid::CallFields& sent) {
  const opencid::NcidLine line = opencid::ParseNcidLine(upstreamLine);
  return line.kind == opencid::NcidKind::Call && line.call.number == sent.number && line.call.time == sent.time;
}

bool ParseUpstream(std::string_view text, std::string& host, unsigned& port) {
  port = 3333;
  std::size_t portAt = std::string_view::npos;
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return false;
    host.assign(text.substr(1, close - 1));
    if (close + 1 < text.size()) {
      if (text[close + 1] != ':') return false;
      portAt = close + 2;
    }
  } else {
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos && text.find(':', colon + 1) != std::string_view::npos) return false;
    host.assign(text.substr(0, colon));
    if (colon != std::string_view::npos) portAt = colon + 1;
  }
  if (portAt != std::string_view::npos) {
    const std::string_view digits = text.substr(portAt);
    if (digits.empty() || digits.size() > 5 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return false;
    port = static_cast<unsigned>(std::stoul(std::string(digits)));
    if (port == 0 || port > 65535) return false;
  }
  return !host.empty();
}

}  // namespace relay
