// The process's one shared timer window: it lives from the first timer's creation to the last
// timer's destruction and dispatches every timer message to the timer it names.
#pragma once

#include <cstdint>

#include "tray/shared_window_handler.h"
#include "tray/timer_window.h"

namespace tray {

class TWindowTimer;

class TWindowTimerHandler : public SharedWindowHandler<TWindowTimer, TimerWindow> {
 public:
  TWindowTimerHandler();
  TimerWindow& Window() noexcept { return GetWindow(); }

  // A timer message: calls the timer's OnTimer. An identifier that names no live timer (a
  // message posted before its timer was destroyed) is ignored.
  void Dispatch(std::uintptr_t identifier);
};

// The shared handler; null while no timer exists.
TWindowTimerHandler* TimerWindowHandler() noexcept;

// Creates the handler and its window when there is none and counts the timer as a user.
TWindowTimerHandler& AttachTimerWindow(TWindowTimer& timer);
// Uncounts the timer; the last one destroys the handler and its window.
void DetachTimerWindow(TWindowTimer& timer);

}  // namespace tray
