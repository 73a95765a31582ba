// The pauses between attempts to reach a lost source: 1 s, doubling, at most 30 s; back to
// 1 s once the source answers again.
#pragma once

namespace opencid {

class Backoff {
 public:
  static constexpr unsigned kFirstMs = 1000, kLongestMs = 30000;

  unsigned NextPauseMs() {
    const unsigned pause = next_;
    next_ = next_ >= kLongestMs / 2 ? kLongestMs : next_ * 2;
    return pause;
  }
  void Reset() { next_ = kFirstMs; }

 private:
  unsigned next_ = kFirstMs;
};

}  // namespace opencid
