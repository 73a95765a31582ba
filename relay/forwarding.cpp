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
      calls.push_back({call, {file.identity, end, call}});
    start = end;
  }
  return calls;
}

bool IsIn(const LogFile& file, const ForwardPoint& point) {
  if (point.file.empty() || point.file != file.identity) return false;
  const std::string_view text = file.text.substr(0, WholeLinesLength(file.text));
  if (point.end > text.size()) return false;
  const std::size_t end = static_cast<std::size_t>(point.end);
  if (end > 0 && text[end - 1] != '\n') return false;
  if (!point.call) return true;
  const std::size_t lineStart = end < 2 ? std::string_view::npos : text.rfind('\n', end - 2);
  const std::size_t start = lineStart == std::string_view::npos ? 0 : lineStart + 1;
  const std::vector<opencid::CallFields> calls = ReadCallLog(text.substr(start, end - start));
  return calls.size() == 1 && calls.front() == *point.call;
}

std::vector<DueCall> After(std::vector<DueCall> calls, std::uint64_t end) {
  calls.erase(calls.begin(), std::find_if(calls.begin(), calls.end(), [end](const DueCall& due) { return due.after.end > end; }));
  return calls;
}

}  // namespace

std::vector<DueCall> CallsToForward(const LogFile& older, const LogFile& current, const ForwardPoint& lastAccepted) {
  std::vector<DueCall> currentCalls = CallsOf(current);
  // The same file read twice: it was rotated between the reads.
  const bool rotatedMeanwhile = !older.identity.empty() && older.identity == current.identity;
  if (IsIn(current, lastAccepted)) return After(std::move(currentCalls), lastAccepted.end);
  std::vector<DueCall> all = rotatedMeanwhile ? std::vector<DueCall>{} : CallsOf(older);
  if (!rotatedMeanwhile && IsIn(older, lastAccepted)) all = After(std::move(all), lastAccepted.end);
  all.insert(all.end(), currentCalls.begin(), currentCalls.end());
  if (lastAccepted.file.empty() && lastAccepted.call) {
    const auto found = std::find_if(all.rbegin(), all.rend(), [&](const DueCall& due) { return due.call == *lastAccepted.call; });
    all.erase(all.begin(), found.base());
  }
  return all;
}

ForwardPoint EndOf(const LogFile& current) {
  const std::vector<DueCall> calls = CallsOf(current);
  if (calls.empty()) return {current.identity, WholeLinesLength(current.text), std::nullopt};
  return {current.identity, WholeLinesLength(current.text), calls.back().call};
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
