// The recording timer window that replaces the system's in native tests.
#include "tray/tests/fake_timer_window.h"

#include <utility>

#include "tray/timer_window.h"
#include "tray/window_timer_handler.h"

namespace tray {
namespace testing {

FakeTimerWindows& TimerWindows() {
  static FakeTimerWindows windows;
  return windows;
}

bool FireTimer(std::uintptr_t identifier) {
  if (!TimerWindows().running.count(identifier)) return false;
  DeliverTimerMessage(identifier);
  return true;
}

void DeliverTimerMessage(std::uintptr_t identifier) {
  if (auto* handler = TimerWindowHandler()) handler->Dispatch(identifier);
}

namespace {

class FakeTimerWindow : public TimerWindow {
 public:
  FakeTimerWindow() {
    ++TimerWindows().created;
    ++TimerWindows().alive;
  }
  ~FakeTimerWindow() override {
    --TimerWindows().alive;
    TimerWindows().running.clear();
  }
  bool StartTimer(std::uintptr_t identifier, std::uint32_t interval) override {
    if (std::exchange(TimerWindows().refuseNextStart, false)) return false;
    TimerWindows().running[identifier] = interval;
    return true;
  }
  void StopTimer(std::uintptr_t identifier) override { TimerWindows().running.erase(identifier); }
};

}  // namespace
}  // namespace testing

std::unique_ptr<TimerWindow> CreateTimerWindow(TWindowTimerHandler&) {
  return std::make_unique<testing::FakeTimerWindow>();
}

}  // namespace tray
