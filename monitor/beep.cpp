#include "monitor/beep.h"

#include <utility>

namespace monitor {

std::wstring BeepMutexName(std::uint32_t processId) { return std::to_wstring(processId) + L".b..1"; }

namespace Tbip {

void Execute(IBeepSystem& system, IBeepMutex& mutex) noexcept {
  try {
    // An abandoned or failed wait still beeps; only a beep kept waiting is dropped.
    if (mutex.Wait(WaitMs) != WaitResult::TimedOut) system.Beep(FrequencyHz, DurationMs);
    mutex.Release();
  } catch (...) {
    // A beep is never worth more than itself: nothing leaves the thread.
  }
}

void Start(IBeepSystem& system, std::shared_ptr<IBeepMutex> mutex) {
  system.StartThread([&system, mutex = std::move(mutex)] { Execute(system, *mutex); });
}

}  // namespace Tbip
}  // namespace monitor
