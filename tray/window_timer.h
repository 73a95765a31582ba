// TWindowTimer: a light timer that calls OnTimer at a fixed interval on the user-interface
// thread, through the process's shared timer window.
//
// States: disabled (no system timer), running (Enabled, system timer alive) and held (Enabled,
// but no system timer because the interval is 0 or OnTimer is empty). A held timer runs again
// when it is given a non-zero interval or is enabled again.
#pragma once

#include <cstdint>

#include "common/event.h"

namespace tray {

class TWindowTimer {
 public:
  using TimerEvent = common::Event<TWindowTimer&>;

  // 1000 ms, no callback, disabled.
  TWindowTimer();
  // Disabled until Enabled is set.
  TWindowTimer(std::uint32_t interval, TimerEvent onTimer);
  ~TWindowTimer();
  TWindowTimer(const TWindowTimer&) = delete;
  TWindowTimer& operator=(const TWindowTimer&) = delete;

  // The system timer identifier: the timer's own address.
  std::uintptr_t Identifier() const noexcept { return reinterpret_cast<std::uintptr_t>(this); }

  bool Enabled() const noexcept { return enabled_; }
  // True starts (a zero interval leaves the timer as it was); false stops.
  void SetEnabled(bool enabled);

  std::uint32_t Interval() const noexcept { return interval_; }
  // On an enabled timer a non-zero interval restarts it; 0 holds it, still Enabled.
  void SetInterval(std::uint32_t interval);

  const TimerEvent& OnTimer() const noexcept { return onTimer_; }
  // An empty callback holds an enabled timer; assigning one never starts it.
  void SetOnTimer(TimerEvent onTimer);

  // A timer message arrived for this timer.
  void Fire();

 private:
  bool Start();
  void Stop(bool clearEnabled);

  bool enabled_ = false;
  std::uint32_t interval_ = 1000;
  TimerEvent onTimer_;
};

}  // namespace tray
