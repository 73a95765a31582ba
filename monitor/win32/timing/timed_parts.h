// The parts the timing programs hand Test.exe's window: a shell that counts balloons (and
// hands them on to the real one when asked), the scripted device of the tests, a silent
// speaker.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "monitor/tests/fake_form.h"
#include "monitor/win32/beep_system_win32.h"
#include "monitor/win32/form1_parts.h"

namespace monitor::win32::timing {

class TimedParts : public IForm1Parts {
 public:
  // Whether the icon and its balloons reach the real shell or only this counter.
  enum ShellKind { CountingShell, RealShell };
  explicit TimedParts(ShellKind shell = CountingShell) : shell_(shell) {}

  tray::ShellNotifier Shell() override {
    return [this](DWORD message, NOTIFYICONDATAW* data) {
      if (message == NIM_MODIFY && (data->uFlags & NIF_INFO) && data->szInfo[0]) ++balloons;
      return shell_ == RealShell ? Shell_NotifyIconW(message, data) : TRUE;
    };
  }
  std::unique_ptr<IDeviceControlFactory> CreateDeviceFactory(HWND) override {
    return std::make_unique<monitor::testing::ForwardingDeviceFactory>(devices);
  }
  IBeepSystem& Beeps() override { return beeps; }

  monitor::testing::FakeDeviceFactory devices;
  int balloons = 0;
  Win32BeepSystem beeps{[](std::uint32_t, std::uint32_t) {}};

 private:
  ShellKind shell_;
};

// One call as the device reports it.
inline void ReportCall(TimedParts& parts, IDeviceControl& device) {
  parts.devices.State.OnCallerID(device, {L"KP-0042", L"2", L"05321234567", L"08.12.2026 01:02:03", L"Şişli"});
}

}  // namespace monitor::win32::timing
