// The device control's thread: creation, polling, calls, and the loop refusal.
#include "relay/win32/device_source.h"

#include <ole2.h>

#include <cstring>
#include <memory>

#include "activex/message_window.h"
#include "common/error.h"
#include "monitor/form1_texts.h"
#include "monitor/win32/tevrin5_control.h"

namespace relay::win32 {
namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 1000;
constexpr DWORD kRetryMs = 10000;

std::wstring ReasonOf(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const common::Error& error) {
    return error.Message();
  } catch (const std::exception& error) {
    return std::wstring(error.what(), error.what() + std::strlen(error.what()));
  } catch (...) {
    return L"unknown failure";
  }
}

}  // namespace

CLSID ClassIdOf(const std::wstring& text) {
  CLSID clsid;
  if (FAILED(CLSIDFromString(text.c_str(), &clsid))) throw common::Error(L"Not a class identifier: " + text);
  return clsid;
}

DeviceSource::DeviceSource(const CLSID& clsid, std::wstring ownMark, CallHandler onCall, NoteHandler note)
    : clsid_(clsid), ownMark_(std::move(ownMark)), onCall_(std::move(onCall)), note_(std::move(note)),
      ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_([this] { Run(); }) {
  WaitForSingleObject(ready_, INFINITE);
}

DeviceSource::~DeviceSource() {
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
  CloseHandle(ready_);
}

std::wstring DeviceSource::State() const {
  std::lock_guard<std::mutex> guard(lock_);
  return state_;
}

void DeviceSource::SetState(std::wstring state) {
  std::lock_guard<std::mutex> guard(lock_);
  state_ = std::move(state);
}

void DeviceSource::Run() noexcept {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, for WM_QUIT
  threadId_ = GetCurrentThreadId();
  SetEvent(ready_);
  const HRESULT apartment = OleInitialize(nullptr);
  try {
    std::unique_ptr<monitor::win32::Tevrin5Control> control;
    std::wstring lastModel = L"\x1";
    DWORD nextAttempt = GetTickCount();
    bool refused = false;
    auto release = [&](const std::wstring& why) {
      control.reset();
      SetState(why);
      note_(why);
      nextAttempt = GetTickCount() + kRetryMs;
      lastModel = L"\x1";
    };
    activex::MessageWindow window(L"CidRelayDevice", WS_POPUP, nullptr, RECT{0, 0, 26, 26},
                                  [&](UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
      if (msg != WM_TIMER || wParam != kPollTimer) return std::nullopt;
      if (!control && !refused && static_cast<LONG>(GetTickCount() - nextAttempt) >= 0) {
        try {
          control = std::make_unique<monitor::win32::Tevrin5Control>(window.Handle(), clsid_);
          control->SetOnCallerID([&](monitor::IDeviceControl&, const monitor::CallerIdArgs& call) {
            onCall_({call.DeviceID, call.Line, call.PhoneNumber, call.DateTime, call.OtherText});
          });
          control->Command(monitor::texts::AccessCode);
          control->Start();
          note_(L"The device control is started.");
        } catch (...) {
          release(L"The device control cannot be created: " + ReasonOf(std::current_exception()));
        }
      }
      if (!control) return 0;
      try {
        const std::wstring model = control->Command(monitor::texts::DeviceModelCommand);
        if (!ownMark_.empty() && model.find(ownMark_) != std::wstring::npos) {
          refused = true;
          release(L"Refused: the device control is a client of this relay (a loop): " + model);
          return 0;
        }
        if (model != lastModel) {
          note_(model.empty() ? L"The device does not answer." : L"Device: " + model);
          lastModel = model;
        }
        SetState(model.empty() ? L"not answering" : model);
      } catch (...) {
        release(L"The device control failed: " + ReasonOf(std::current_exception()));
      }
      return 0;
    });
    SetTimer(window.Handle(), kPollTimer, kPollMs, nullptr);
    PostMessageW(window.Handle(), WM_TIMER, kPollTimer, 0);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    KillTimer(window.Handle(), kPollTimer);
    control.reset();
  } catch (...) {
    note_(L"The device thread failed: " + ReasonOf(std::current_exception()));
  }
  if (SUCCEEDED(apartment)) OleUninitialize();
}

}  // namespace relay::win32
