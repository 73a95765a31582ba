// End-to-end runs: TForm1 built as Test.exe builds it, over the simulated device registered
// in the test prefix, driven by the console tool while this thread serves its windows; and
// Test.exe itself started as a program.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "monitor/win32/beep_system_win32.h"
#include "monitor/win32/form1_window.h"
#include "monitor/win32/tevrin5_control.h"
#include "tray/win32/application.h"

namespace monitor::win32::testing {

// Where the build put a file of another component (DEVSIM_PATH, DEVCTL_PATH, TEST_EXE_PATH).
std::wstring BuiltPath(const char* utf8Path);

struct ToolRun {
  int exitCode;
  std::wstring output;
};
// Runs the console tool, serving this thread's messages until it ends; input is what it
// reads from its standard input.
ToolRun Devctl(const std::wstring& arguments, const std::string& input = {}, DWORD timeoutMs = 30000);

// Asks a window, from a thread of its own, for an answer to an empty message again and again
// until stopped; remembers the longest wait.
class AnswerProbe {
 public:
  explicit AnswerProbe(HWND window);
  ~AnswerProbe();
  AnswerProbe(const AnswerProbe&) = delete;
  AnswerProbe& operator=(const AnswerProbe&) = delete;
  // Stops asking; the longest wait for an answer in milliseconds.
  DWORD Stop();

 private:
  HWND window_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  std::atomic<DWORD> longest_{0};
  std::thread thread_;
};

// The simulated device control registered for the test and removed again afterwards.
class RegisteredDevice {
 public:
  RegisteredDevice();
  ~RegisteredDevice();
  RegisteredDevice(const RegisteredDevice&) = delete;
  RegisteredDevice& operator=(const RegisteredDevice&) = delete;
  static void Unregister();

 private:
  HMODULE library_;
};

// The parts of Test.exe, with the shell's balloons and the speaker's beeps counted.
class RecordingProgramParts : public IForm1Parts {
 public:
  tray::ShellNotifier Shell() override;
  std::unique_ptr<IDeviceControlFactory> CreateDeviceFactory(HWND form) override {
    return std::make_unique<Tevrin5Factory>(form);
  }
  IBeepSystem& Beeps() override { return beeps_; }

  std::vector<std::wstring> balloonTitles, balloonTexts;
  std::atomic<int> beeps{0};

 private:
  Win32BeepSystem beeps_{[this](std::uint32_t, std::uint32_t duration) {
    ++beeps;
    Sleep(duration);
  }};
};

// Test.exe's window with its parts.
struct Monitor {
  tray::TApplication application{L"Test"};
  RecordingProgramParts parts;
  std::unique_ptr<TForm1> form = std::make_unique<TForm1>(parts, application);

  std::wstring Text(const wchar_t* control) const;
  int Position(const wchar_t* meter) const;
  std::vector<std::wstring> Column(std::int32_t col);
  // Every label's text, every meter's position and every cell, to see that nothing moved.
  std::wstring Snapshot();
};

// A Test.exe process and its main window.
class MonitorProcess {
 public:
  MonitorProcess();
  ~MonitorProcess();
  MonitorProcess(const MonitorProcess&) = delete;
  MonitorProcess& operator=(const MonitorProcess&) = delete;

  DWORD Id() const { return process_.dwProcessId; }
  HWND Window() const { return window_; }
  // Asks the window to close and waits for the program to end; false when it did not.
  bool Close();
  // The program's exit code once it has ended; STILL_ACTIVE before.
  DWORD ExitCode() const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

}  // namespace monitor::win32::testing
