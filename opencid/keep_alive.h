// Whether a network caller-ID server still answers, from what it sends and when. A server
// whose start-up lines include "210 API: ... Feature Set ... 4" understands the keep-alive
// request "REQ: YO": after `idleMs` without a line it is asked, and unless a line (its answer,
// "ACK: REQ YO", or "ACK: REQ: YO" from older servers, or anything else) comes within
// `deadlineMs`, the connection is dead. A server that is never heard from within both
// together after the connection opens is dead too. Other servers are never sent the request:
// for them the connection's own probes must do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace opencid {

class KeepAlive {
 public:
  KeepAlive(std::uint64_t idleMs, std::uint64_t deadlineMs) : idleMs_(idleMs), deadlineMs_(deadlineMs) {}

  void Connected(std::uint64_t ms);
  void Heard(std::string_view line, std::uint64_t ms);
  // The request to send now (without its line end), if any.
  std::optional<std::string> Due(std::uint64_t ms);
  bool Dead(std::uint64_t ms) const;

 private:
  const std::uint64_t idleMs_, deadlineMs_;
  std::uint64_t heardMs_ = 0, askedMs_ = 0;
  bool heard_ = false, understands_ = false, asking_ = false;
};

}  // namespace opencid
