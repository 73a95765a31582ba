// TApplication: the hidden application window with its hooks, the main form and the loop.
#include "tray/win32/application.h"

#include <algorithm>

#include "tray/win32/callback_guard.h"
#include "tray/win32/hidden_window.h"
#include "tray/win32/window_subclass.h"

namespace tray {
namespace {

// The application's subclass of its main form.
constexpr UINT_PTR kMainFormSubclass = 1;

}  // namespace

TApplication::TApplication(std::wstring title) : title_(std::move(title)) {
  // Top-level and unowned, so that the shell's broadcasts reach it.
  const HiddenWindowKind kind{kApplicationWindowClass, WindowProc};
  window_ = CreateHiddenWindow(kind, title_.c_str(), this);
}

TApplication::~TApplication() {
  SetMainForm(nullptr);
  if (onException_.Assigned()) SetFailureHandler(nullptr);
  // The window's last messages come while this object goes away: no hook hears them, since
  // what a hook captured may be gone already.
  hooks_.clear();
  if (window_) DestroyWindow(window_);
}

void TApplication::SetMainForm(HWND form) {
  if (mainForm_ && IsWindow(mainForm_)) RemoveSubclass(mainForm_, MainFormProc, kMainFormSubclass);
  mainForm_ = form;
  if (form) AddSubclass(form, MainFormProc, kMainFormSubclass, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK TApplication::MainFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR application) {
  const LRESULT result = CallNextSubclass(window, message, wParam, lParam);
  if (message == WM_SIZE && wParam == SIZE_MINIMIZED)
    reinterpret_cast<TApplication*>(application)->RunHooks(message, wParam, lParam);
  else if (message == WM_NCDESTROY)
    RemoveSubclass(window, MainFormProc, kMainFormSubclass);
  return result;
}

void TApplication::Restore() { SendMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0); }

TApplication::HookId TApplication::HookMainWindow(Hook hook) {
  hooks_.emplace_back(nextHookId_, std::move(hook));
  return nextHookId_++;
}

void TApplication::UnhookMainWindow(HookId id) {
  hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(),
                              [id](const auto& entry) { return entry.first == id; }),
               hooks_.end());
}

void TApplication::SetOnException(ExceptionEvent handler) {
  onException_ = std::move(handler);
  SetFailureHandler([this](std::exception_ptr failure) { onException_(*this, failure); });
}

void TApplication::RunHooks(UINT message, WPARAM wParam, LPARAM lParam) {
  // A hook may remove itself or others: run those still present, in order.
  std::vector<HookId> ids;
  for (const auto& entry : hooks_) ids.push_back(entry.first);
  for (HookId id : ids) {
    auto found = std::find_if(hooks_.begin(), hooks_.end(),
                              [id](const auto& entry) { return entry.first == id; });
    if (found == hooks_.end()) continue;
    Hook hook = found->second;
    CallGuarded([&] { hook(message, wParam, lParam); });
  }
}

LRESULT CALLBACK TApplication::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* application = BoundObject<TApplication>(window, message, lParam);
  if (!application) return DefWindowProcW(window, message, wParam, lParam);
  application->RunHooks(message, wParam, lParam);
  if (message == WM_CLOSE) {
    // Closing the application closes its main form; the window itself lives on.
    if (application->mainForm_)
      PostMessageW(application->mainForm_, WM_CLOSE, 0, 0);
    else
      application->Terminate();
    return 0;
  }
  // The default restore would show this window, which only stands for the application.
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_RESTORE) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

bool TApplication::HandleMessage(const MSG& message) {
  if (message.message == WM_QUIT) {
    terminated_ = true;
    exitCode_ = static_cast<int>(message.wParam);
    return false;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
  return true;
}

void TApplication::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    if (!HandleMessage(message)) return;
}

int TApplication::Run() {
  if (mainForm_ && showMainForm_) ShowWindow(mainForm_, SW_SHOW);
  MSG message;
  while (!terminated_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) message.message = WM_QUIT;
    HandleMessage(message);
  }
  terminated_ = true;
  return exitCode_;
}

void TApplication::Terminate() { PostQuitMessage(0); }

}  // namespace tray
