// The beep on Windows: the process's named mutex, a thread per beep that frees itself, and
// the speaker, which a test replaces to count the beeps.
#pragma once

#include <functional>

#include "monitor/beep.h"

namespace monitor::win32 {

class Win32BeepSystem : public IBeepSystem {
 public:
  using Speaker = std::function<void(std::uint32_t frequencyHz, std::uint32_t durationMs)>;

  // The system speaker.
  Win32BeepSystem();
  explicit Win32BeepSystem(Speaker speaker) : speaker_(std::move(speaker)) {}

  std::uint32_t CurrentProcessId() override;
  std::shared_ptr<IBeepMutex> OpenOrCreateMutex(const std::wstring& name) override;
  void StartThread(std::function<void()> body) override;
  void Beep(std::uint32_t frequencyHz, std::uint32_t durationMs) override;

 private:
  Speaker speaker_;
};

}  // namespace monitor::win32
