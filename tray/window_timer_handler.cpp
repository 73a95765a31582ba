// The shared timer window's handler and the process-wide variable that holds it.
#include "tray/window_timer_handler.h"

#include <algorithm>

#include "tray/window_timer.h"

namespace tray {
namespace {

// Destroyed with the process when a timer outlives everything else.
std::unique_ptr<TWindowTimerHandler>& SharedHandler() {
  static std::unique_ptr<TWindowTimerHandler> handler;
  return handler;
}

}  // namespace

TWindowTimerHandler::TWindowTimerHandler() : window_(CreateTimerWindow(*this)) {}

void TWindowTimerHandler::AddUser(TWindowTimer& timer) { timers_.push_back(&timer); }

void TWindowTimerHandler::RemoveUser(TWindowTimer& timer) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), &timer), timers_.end());
}

void TWindowTimerHandler::Dispatch(std::uintptr_t identifier) {
  auto found = std::find_if(timers_.begin(), timers_.end(), [identifier](TWindowTimer* timer) {
    return timer->Identifier() == identifier;
  });
  // The callback may destroy the timer, or every timer and this handler with them.
  if (found != timers_.end()) (*found)->Fire();
}

TWindowTimerHandler* TimerWindowHandler() noexcept { return SharedHandler().get(); }

TWindowTimerHandler& AttachTimerWindow(TWindowTimer& timer) {
  auto& handler = SharedHandler();
  if (!handler) handler = std::make_unique<TWindowTimerHandler>();
  handler->AddUser(timer);
  return *handler;
}

void DetachTimerWindow(TWindowTimer& timer) {
  auto& handler = SharedHandler();
  if (!handler || handler->UserCount() == 0) return;
  handler->RemoveUser(timer);
  if (handler->UserCount() == 0) handler.reset();
}

}  // namespace tray
