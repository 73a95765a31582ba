// TForm1's parts for window tests: a shell that records the balloons, the scripted device of
// the portable tests, the real beep with a counting speaker.
#pragma once

#include <windows.h>

#include <atomic>

#include "monitor/tests/fake_form.h"
#include "monitor/win32/beep_system_win32.h"
#include "monitor/win32/form1_window.h"
#include "tray/win32/application.h"
#include "tray/win32/tests/message_pump.h"

namespace monitor::win32::testing {

using monitor::testing::FakeDeviceFactory;
using monitor::testing::Journal;
using tray::testing::PumpFor;
using tray::testing::PumpUntil;

class TestParts : public IForm1Parts {
 public:
  tray::TApplication application{L"Test"};
  // Balloon titles as the tray icon hands them to the shell, which accepts every call.
  tray::ShellNotifier Shell() override {
    return [this](DWORD message, NOTIFYICONDATAW* data) {
      if (message == NIM_MODIFY && (data->uFlags & NIF_INFO) && data->szInfo[0])
        balloons.push_back(std::wstring(data->szInfoTitle) + L"|" + data->szInfo);
      return TRUE;
    };
  }
  std::unique_ptr<IDeviceControlFactory> CreateDeviceFactory(HWND form) override {
    window = form;
    return std::make_unique<monitor::testing::ForwardingDeviceFactory>(devices);
  }
  IBeepSystem& Beeps() override { return beeps; }

  Journal journal;
  HWND window = nullptr;  // the form the device control was made for
  FakeDeviceFactory devices;
  std::vector<std::wstring> balloons;
  std::atomic<int> beepCount{0};
  Win32BeepSystem beeps{[this](std::uint32_t, std::uint32_t duration) {
    ++beepCount;
    Sleep(duration);
  }};
};

inline std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

}  // namespace monitor::win32::testing
