// The bounded queue of one client.
#include "relay/output_queue.h"

namespace relay {

bool OutputQueue::Push(std::string_view bytes) {
  if (buffer_.size() - sent_ + bytes.size() > capacity_) return false;
  if (sent_ > 0 && sent_ >= buffer_.size() / 2) {
    buffer_.erase(0, sent_);
    sent_ = 0;
  }
  buffer_.append(bytes);
  return true;
}

void OutputQueue::Sent(std::size_t count) {
  sent_ += count < buffer_.size() - sent_ ? count : buffer_.size() - sent_;
  if (sent_ == buffer_.size()) {
    buffer_.clear();
    sent_ = 0;
    // A burst's buffer is given back once it has gone out.
    if (buffer_.capacity() > 4096) buffer_.shrink_to_fit();
  }
}

}  // namespace relay
