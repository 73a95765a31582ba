// The session's named mutex tells whether a line monitor runs; its window is found by class.
#include "monitor/win32/single_instance.h"

namespace monitor::win32 {
namespace {

constexpr wchar_t kMutexName[] = L"Local\\CallerIdMonitor.Test";
constexpr wchar_t kFormClass[] = L"TForm1";

// The first copy may still be making its window: wait for it a little.
void BringForward() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (HWND form = FindWindowW(kFormClass, nullptr)) {
      if (IsIconic(form) || !IsWindowVisible(form)) ShowWindow(form, SW_RESTORE);
      SetForegroundWindow(form);
      return;
    }
    Sleep(100);
  }
}

}  // namespace

SingleInstance::SingleInstance() {
  mutex_ = CreateMutexW(nullptr, FALSE, kMutexName);
  another_ = mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
  if (another_) BringForward();
}

SingleInstance::~SingleInstance() {
  if (mutex_) CloseHandle(mutex_);
}

}  // namespace monitor::win32
