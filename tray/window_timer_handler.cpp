// The shared timer window's handler and the process-wide variable that holds it.
#include "tray/window_timer_handler.h"

#include "tray/window_timer.h"

namespace tray {

using TimerHandlerSlot = SharedHandlerSlot<TWindowTimerHandler>;

TWindowTimerHandler::TWindowTimerHandler() { SetWindow(CreateTimerWindow(*this)); }

void TWindowTimerHandler::Dispatch(std::uintptr_t identifier) {
  // The callback may destroy the timer, or every timer and this handler with them.
  if (TWindowTimer* timer = FindUser(identifier)) timer->Fire();
}

TWindowTimerHandler* TimerWindowHandler() noexcept { return TimerHandlerSlot::Get(); }
TWindowTimerHandler& AttachTimerWindow(TWindowTimer& timer) { return TimerHandlerSlot::Attach(timer); }
void DetachTimerWindow(TWindowTimer& timer) { TimerHandlerSlot::Detach(timer); }

}  // namespace tray
