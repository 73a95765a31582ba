// The beep on Windows: the process's named mutex, the thread pool that runs each beep, and the
// speaker, which a test replaces to count the beeps.
#pragma once

#include <windows.h>

#include <functional>

#include "monitor/beep.h"

namespace monitor::win32 {

class Win32BeepSystem : public IBeepSystem {
 public:
  using Speaker = std::function<void(std::uint32_t frequencyHz, std::uint32_t durationMs)>;

  // The system speaker.
  Win32BeepSystem();
  explicit Win32BeepSystem(Speaker speaker);
  // Waits for the beeps still running, as they call this object; each ends within a wait and
  // a beep.
  ~Win32BeepSystem() override;
  Win32BeepSystem(const Win32BeepSystem&) = delete;
  Win32BeepSystem& operator=(const Win32BeepSystem&) = delete;

  std::uint32_t CurrentProcessId() override;
  std::shared_ptr<IBeepMutex> OpenOrCreateMutex(const std::wstring& name) override;
  void RunAside(std::function<void()> body) override;
  std::uint64_t Milliseconds() override;
  void Beep(std::uint32_t frequencyHz, std::uint32_t durationMs) override;

 private:
  Speaker speaker_;
  // The process's thread pool, with a group that lets the destructor wait for every beep.
  TP_CALLBACK_ENVIRON environment_;
  PTP_CLEANUP_GROUP beeps_;
};

}  // namespace monitor::win32
