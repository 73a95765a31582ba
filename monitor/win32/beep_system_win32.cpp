#include "monitor/win32/beep_system_win32.h"

#include <windows.h>

#include <memory>

namespace monitor::win32 {
namespace {

constexpr DWORD MutexFullAccess = 0x001F0001;

// The handle stays open for the life of the process, as every beep thread may still use it.
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

DWORD WINAPI RunBody(void* parameter) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  try {
    (*body)();
  } catch (...) {
    // Nothing leaves a thread.
  }
  return 0;
}

}  // namespace

Win32BeepSystem::Win32BeepSystem()
    : speaker_([](std::uint32_t frequency, std::uint32_t duration) { ::Beep(frequency, duration); }) {}

std::uint32_t Win32BeepSystem::CurrentProcessId() { return GetCurrentProcessId(); }

std::shared_ptr<IBeepMutex> Win32BeepSystem::OpenOrCreateMutex(const std::wstring& name) {
  HANDLE handle = OpenMutexW(MutexFullAccess, FALSE, name.c_str());
  if (!handle) handle = CreateMutexW(nullptr, FALSE, name.c_str());
  return std::make_shared<NamedMutex>(handle);
}

Win32BeepSystem::~Win32BeepSystem() {
  for (HANDLE thread : threads_) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
}

void Win32BeepSystem::StartThread(std::function<void()> body) {
  std::erase_if(threads_, [](HANDLE thread) {
    if (WaitForSingleObject(thread, 0) != WAIT_OBJECT_0) return false;
    CloseHandle(thread);
    return true;
  });
  threads_.reserve(threads_.size() + 1);  // room first: a running thread's handle is never lost
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  // A beep needs little stack; a small reservation makes the thread, started on every call,
  // cheaper to make.
  HANDLE thread =
      CreateThread(nullptr, 64 * 1024, RunBody, owned.get(), STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!thread) return;  // no thread, no beep: the call itself is already shown
  owned.release();
  threads_.push_back(thread);
}

void Win32BeepSystem::Beep(std::uint32_t frequencyHz, std::uint32_t durationMs) {
  speaker_(frequencyHz, durationMs);
}

}  // namespace monitor::win32
