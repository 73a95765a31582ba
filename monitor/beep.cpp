#include "monitor/beep.h"

#include <utility>

namespace monitor {

std::wstring BeepMutexName(std::uint32_t processId) { return std::to_wstring(processId) + L".b..1"; }

namespace Tbip {

namespace {

// A beep that started late waits only for what is left of its 100 ms.
WaitResult WaitInTime(IBeepSystem& system, IBeepMutex& mutex, std::uint64_t calledAtMs) {
  const std::uint64_t late = system.Milliseconds() - calledAtMs;
  if (late >= WaitMs) return WaitResult::TimedOut;
  return mutex.Wait(WaitMs - static_cast<std::uint32_t>(late));
}

}  // namespace

void Execute(IBeepSystem& system, IBeepMutex& mutex, std::uint64_t calledAtMs) noexcept {
  // A beep is never worth more than itself: nothing leaves the thread, and the mutex goes
  // back whatever happened, as the thread lives on to run other work.
  try {
    // An abandoned or failed wait still beeps; only a beep kept waiting is dropped.
    if (WaitInTime(system, mutex, calledAtMs) != WaitResult::TimedOut) system.Beep(FrequencyHz, DurationMs);
  } catch (...) {
  }
  try {
    mutex.Release();
  } catch (...) {
  }
}

void Start(IBeepSystem& system, std::shared_ptr<IBeepMutex> mutex) {
  system.RunAside([&system, mutex = std::move(mutex), calledAt = system.Milliseconds()] {
    Execute(system, *mutex, calledAt);
  });
}

}  // namespace Tbip
}  // namespace monitor
