// Asking a quiet server whether it is still there, and noticing when it is not.
#include "opencid/keep_alive.h"

namespace opencid {
namespace {

// "210 API: 1.0 Feature Set 1 2 3 4": whether the sets include the acknowledgements (4).
bool UnderstandsRequests(std::string_view line) {
  if (line.substr(0, 4) != "210 ") return false;
  const std::size_t sets = line.find("Feature Set");
  if (sets == std::string_view::npos) return false;
  std::string_view list = line.substr(sets + 11);
  while (!list.empty()) {
    const std::size_t end = list.find(' ');
    if (list.substr(0, end) == "4") return true;
    list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
  }
  return false;
}

}  // namespace

void KeepAlive::Connected(std::uint64_t ms) {
  heardMs_ = ms;
  heard_ = understands_ = asking_ = false;
}

void KeepAlive::Heard(std::string_view line, std::uint64_t ms) {
  heardMs_ = ms;
  heard_ = true;
  asking_ = false;  // whatever it sent, it is there
  if (UnderstandsRequests(line)) understands_ = true;
}

std::optional<std::string> KeepAlive::Due(std::uint64_t ms) {
  if (!understands_ || asking_ || ms - heardMs_ < idleMs_) return std::nullopt;
  asking_ = true;
  askedMs_ = ms;
  return "REQ: YO";
}

bool KeepAlive::Dead(std::uint64_t ms) const {
  if (asking_) return ms - askedMs_ > deadlineMs_;
  return !heard_ && ms - heardMs_ > idleMs_ + deadlineMs_;
}

}  // namespace opencid
