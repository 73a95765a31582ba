// Splitting and bounding the lines of a source.
#include "opencid/line_splitter.h"

namespace opencid {

std::vector<std::string> LineSplitter::Feed(std::string_view bytes) {
  std::vector<std::string> lines;
  for (char byte : bytes) {
    if (byte == '\n') {
      if (!pending_.empty() && pending_.back() == '\r') pending_.pop_back();
      lines.push_back(std::move(pending_));
      pending_.clear();
      discarding_ = false;
    } else if (discarding_) {
      continue;
    } else if (pending_.size() == kMaxLineBytes) {
      // A CR here may still be the line's end; anything else is past the bound.
      if (byte == '\r') continue;
      discarding_ = true;
    } else {
      pending_.push_back(byte);
    }
  }
  return lines;
}

void LineSplitter::Reset() {
  pending_.clear();
  discarding_ = false;
}

}  // namespace opencid
