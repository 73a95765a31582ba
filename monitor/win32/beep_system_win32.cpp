#include "monitor/win32/beep_system_win32.h"

#include <windows.h>

#include <memory>

namespace monitor::win32 {
namespace {

constexpr DWORD MutexFullAccess = 0x001F0001;

// The handle stays open for the life of the process, as every beep may still use it.
class NamedMutex : public IBeepMutex {
 public:
  explicit NamedMutex(HANDLE handle) : handle_(handle) {}

  WaitResult Wait(std::uint32_t milliseconds) override {
    switch (WaitForSingleObject(handle_, milliseconds)) {
      case WAIT_OBJECT_0: return WaitResult::Acquired;
      case WAIT_ABANDONED: return WaitResult::Abandoned;
      case WAIT_TIMEOUT: return WaitResult::TimedOut;
      default: return WaitResult::Failed;
    }
  }
  void Release() override { ReleaseMutex(handle_); }

 private:
  HANDLE handle_;
};

void CALLBACK RunBody(PTP_CALLBACK_INSTANCE, void* parameter) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  try {
    (*body)();
  } catch (...) {
    // Nothing leaves a pool thread.
  }
}

}  // namespace

Win32BeepSystem::Win32BeepSystem()
    : Win32BeepSystem([](std::uint32_t frequency, std::uint32_t duration) { ::Beep(frequency, duration); }) {}

// A beep runs on a pool thread: a thread made for every call costs the window's thread more
// than the rest of the call's work.
Win32BeepSystem::Win32BeepSystem(Speaker speaker) : speaker_(std::move(speaker)) {
  InitializeThreadpoolEnvironment(&environment_);
  beeps_ = CreateThreadpoolCleanupGroup();
  if (beeps_) SetThreadpoolCallbackCleanupGroup(&environment_, beeps_, nullptr);
}

Win32BeepSystem::~Win32BeepSystem() {
  if (beeps_) {
    CloseThreadpoolCleanupGroupMembers(beeps_, FALSE, nullptr);
    CloseThreadpoolCleanupGroup(beeps_);
  }
  DestroyThreadpoolEnvironment(&environment_);
}

std::uint32_t Win32BeepSystem::CurrentProcessId() { return GetCurrentProcessId(); }

std::shared_ptr<IBeepMutex> Win32BeepSystem::OpenOrCreateMutex(const std::wstring& name) {
  HANDLE handle = OpenMutexW(MutexFullAccess, FALSE, name.c_str());
  if (!handle) handle = CreateMutexW(nullptr, FALSE, name.c_str());
  return std::make_shared<NamedMutex>(handle);
}

void Win32BeepSystem::RunAside(std::function<void()> body) {
  if (!beeps_) return;  // without a group to wait on, no beep may outlive this object
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  if (TrySubmitThreadpoolCallback(RunBody, owned.get(), &environment_)) owned.release();
  // Otherwise no beep: the call itself is already shown.
}

std::uint64_t Win32BeepSystem::Milliseconds() { return GetTickCount64(); }

void Win32BeepSystem::Beep(std::uint32_t frequencyHz, std::uint32_t durationMs) {
  speaker_(frequencyHz, durationMs);
}

}  // namespace monitor::win32
