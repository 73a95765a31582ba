// What waits to be sent to one client. It is bounded: a client that stops reading fills it,
// and a line that does not fit is refused, so that client is dropped instead of holding the
// relay's memory or delaying the others.
#pragma once

#include <string>
#include <string_view>

namespace relay {

inline constexpr std::size_t kClientQueueBytes = 64 * 1024;

class OutputQueue {
 public:
  explicit OutputQueue(std::size_t capacity = kClientQueueBytes) : capacity_(capacity) {}

  // False (and nothing queued) when the bytes do not fit.
  bool Push(std::string_view bytes);
  std::string_view Pending() const { return std::string_view(buffer_).substr(sent_); }
  void Sent(std::size_t count);
  bool Empty() const { return sent_ == buffer_.size(); }

 private:
  std::size_t capacity_;
  std::string buffer_;
  std::size_t sent_ = 0;
};

}  // namespace relay
