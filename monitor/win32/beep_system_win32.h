// The beep on Windows: the process's named mutex, a thread per beep, and the speaker, which a
// test replaces to count the beeps.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "monitor/beep.h"

namespace monitor::win32 {

class Win32BeepSystem : public IBeepSystem {
 public:
  using Speaker = std::function<void(std::uint32_t frequencyHz, std::uint32_t durationMs)>;

  // The system speaker.
  Win32BeepSystem();
  explicit Win32BeepSystem(Speaker speaker) : speaker_(std::move(speaker)) {}
  // Waits for the beep threads still running, as they call this object; each ends within a
  // wait and a beep.
  ~Win32BeepSystem() override;
  Win32BeepSystem(const Win32BeepSystem&) = delete;
  Win32BeepSystem& operator=(const Win32BeepSystem&) = delete;

  std::uint32_t CurrentProcessId() override;
  std::shared_ptr<IBeepMutex> OpenOrCreateMutex(const std::wstring& name) override;
  void StartThread(std::function<void()> body) override;
  void Beep(std::uint32_t frequencyHz, std::uint32_t durationMs) override;

 private:
  Speaker speaker_;
  // Beep threads started and not yet seen to end; started and waited for on one thread.
  std::vector<HANDLE> threads_;
};

}  // namespace monitor::win32
