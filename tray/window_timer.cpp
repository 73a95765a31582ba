// TWindowTimer's rules for starting, holding and stopping its system timer.
#include "tray/window_timer.h"

#include <utility>

#include "tray/window_timer_handler.h"

namespace tray {

TWindowTimer::TWindowTimer() { AttachTimerWindow(*this); }

TWindowTimer::TWindowTimer(std::uint32_t interval, TimerEvent onTimer)
    : interval_(interval), onTimer_(std::move(onTimer)) {
  AttachTimerWindow(*this);
}

TWindowTimer::~TWindowTimer() {
  if (enabled_) Stop(true);
  DetachTimerWindow(*this);
}

void TWindowTimer::SetEnabled(bool enabled) {
  if (enabled)
    Start();
  else
    Stop(true);
}

void TWindowTimer::SetInterval(std::uint32_t interval) {
  if (interval == interval_) return;
  interval_ = interval;
  if (!enabled_) return;
  if (interval_ != 0)
    Start();
  else
    Stop(false);
}

void TWindowTimer::SetOnTimer(TimerEvent onTimer) {
  onTimer_ = std::move(onTimer);
  if (!onTimer_.Assigned() && enabled_) Stop(false);
}

void TWindowTimer::Fire() {
  // A copy: the callback may replace OnTimer or destroy this timer.
  TimerEvent onTimer = onTimer_;
  onTimer(*this);
}

bool TWindowTimer::Start() {
  if (interval_ == 0) return false;
  if (enabled_) Stop(true);
  if (!TimerWindowHandler()->Window().StartTimer(Identifier(), interval_)) return false;
  enabled_ = true;
  return true;
}

void TWindowTimer::Stop(bool clearEnabled) {
  if (clearEnabled) enabled_ = false;
  TimerWindowHandler()->Window().StopTimer(Identifier());
}

}  // namespace tray
