// What a message-window timer needs of the platform: one hidden window per process that runs
// system timers by identifier and hands each timer message back to the timer handler.
#pragma once

#include <cstdint>
#include <memory>

namespace tray {

class TWindowTimerHandler;

class TimerWindow {
 public:
  virtual ~TimerWindow() = default;
  // Creates or replaces the system timer of that identifier; false when the system refuses.
  virtual bool StartTimer(std::uintptr_t identifier, std::uint32_t interval) = 0;
  virtual void StopTimer(std::uintptr_t identifier) = 0;
};

// Creates the hidden window; each timer message goes to handler.Dispatch. Defined by the
// platform layer (the Win32 window, or a test's fake).
std::unique_ptr<TimerWindow> CreateTimerWindow(TWindowTimerHandler& handler);

}  // namespace tray
