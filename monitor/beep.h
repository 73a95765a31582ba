// The call beep: one Tbip per call, run aside from the window's thread and serialised by the
// process's named beep mutex, so that one beep sounds at a time and a beep that cannot start
// within 100 ms of its call is dropped.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace monitor {

enum class WaitResult { Acquired, Abandoned, TimedOut, Failed };

class IBeepMutex {
 public:
  virtual ~IBeepMutex() = default;
  virtual WaitResult Wait(std::uint32_t milliseconds) = 0;
  // Harmless when the calling thread does not own it.
  virtual void Release() = 0;
};

// The kernel as the beep uses it; the speaker is the seam a test records through.
class IBeepSystem {
 public:
  virtual ~IBeepSystem() = default;
  virtual std::uint32_t CurrentProcessId() = 0;
  // Opens the named mutex or creates it; when neither works, a mutex whose every wait fails.
  virtual std::shared_ptr<IBeepMutex> OpenOrCreateMutex(const std::wstring& name) = 0;
  // Runs the body on another thread and returns at once; bodies started together run side by
  // side, though one may start late. The system outlives every body.
  virtual void RunAside(std::function<void()> body) = 0;
  // A clock in milliseconds, for how long a beep has waited to start.
  virtual std::uint64_t Milliseconds() = 0;
  virtual void Beep(std::uint32_t frequencyHz, std::uint32_t durationMs) = 0;
};

// "<process identifier>.b..1": one name per running copy of the program.
std::wstring BeepMutexName(std::uint32_t processId);

namespace Tbip {

inline constexpr std::uint32_t WaitMs = 100;
inline constexpr std::uint32_t FrequencyHz = 1000;
inline constexpr std::uint32_t DurationMs = 50;

// The body of the beep asked for at calledAtMs: sounds unless its wait, what is left of the
// 100 ms since the call, timed out; then releases the mutex.
void Execute(IBeepSystem& system, IBeepMutex& mutex, std::uint64_t calledAtMs) noexcept;
// Starts one beep and returns at once.
void Start(IBeepSystem& system, std::shared_ptr<IBeepMutex> mutex);

}  // namespace Tbip
}  // namespace monitor
