// Text lines out of a byte stream that arrives in pieces: a line ends at LF, a CR before it
// is dropped. A line longer than kMaxLineBytes is cut there and the rest of it, up to its
// end, is thrown away, so a source that never ends a line cannot exhaust memory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace opencid {

inline constexpr std::size_t kMaxLineBytes = 1024;

class LineSplitter {
 public:
  // The lines that the bytes complete, in order.
  std::vector<std::string> Feed(std::string_view bytes);
  // Forgets a partial line (the connection or port was lost).
  void Reset();

 private:
  std::string pending_;
  bool discarding_ = false;
};

}  // namespace opencid
