// Test.exe end to end under Wine: its window over the simulated device, driven by the console
// tool; the state read from the real controls (label texts, meter positions, grid cells).
#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/utf16.h"
#include "monitor/win32/tests/end_to_end_support.h"
#include "tray/win32/tests/message_pump.h"

namespace monitor::win32::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::Each;
using ::testing::HasSubstr;
using tray::testing::PumpFor;
using tray::testing::PumpUntil;

const std::wstring Connected = L"Bağlantı tamam  Hemen arayın";
const std::wstring NotConnected = L"Cihaz bağlantısı sağlanamadı";
constexpr DWORD Tick = 500;

class EndToEnd : public ::testing::Test {
 protected:
  RegisteredDevice device;
};

bool Shows(Monitor& monitor, const wchar_t* label, const std::wstring& text) {
  return PumpUntil([&] { return monitor.Text(label) == text; }, 4 * Tick);
}

void Plug(Monitor& monitor) {
  ASSERT_EQ(Devctl(L"plug KX-4 TR-0042").exitCode, 0);
  ASSERT_TRUE(Shows(monitor, L"Label9", Connected));
}

struct TooltipSearch {
  HWND form, tooltip;
};

BOOL CALLBACK FindStatusTooltip(HWND window, LPARAM state) {
  auto* search = reinterpret_cast<TooltipSearch*>(state);
  wchar_t name[64];
  GetClassNameW(window, name, 64);
  if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0 || GetWindow(window, GW_OWNER) != search->form) return TRUE;
  search->tooltip = window;
  return FALSE;
}

// The text the status line's tooltip would show now, as the tooltip asks the window for it.
std::wstring StatusTooltipText(HWND form) {
  TooltipSearch search{form, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindStatusTooltip, reinterpret_cast<LPARAM>(&search));
  HWND tooltip = search.tooltip;
  if (!tooltip) return L"<no tooltip>";
  wchar_t text[512] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = form;
  tool.uId = 1;
  tool.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
  return text;
}

TEST_F(EndToEnd, NoDeviceThenPluggedShowsTheConnection) {
  Monitor monitor;
  EXPECT_EQ(monitor.Text(L"Label9"), L"--");
  ASSERT_TRUE(Shows(monitor, L"Label9", NotConnected));
  EXPECT_EQ(monitor.Text(L"Label24"), L"");
  EXPECT_EQ(monitor.Text(L"Label25"), L"");
  EXPECT_EQ(StatusTooltipText(monitor.form->Handle()), L"the simulated device is unplugged (devctl plug)");

  Plug(monitor);
  EXPECT_EQ(monitor.Text(L"Label24"), L"Cihaz modeli: KX-4");
  EXPECT_EQ(monitor.Text(L"Label25"), L"Seri no: TR-0042");
  EXPECT_EQ(StatusTooltipText(monitor.form->Handle()), L"");
}

TEST_F(EndToEnd, TwelveCallsThenLossThenReconnection) {
  Monitor monitor;
  Plug(monitor);
  for (int i = 1; i <= 12; ++i) {
    const auto run = Devctl(L"call " + std::to_wstring(i % 4 + 1) + L" 0532000" + std::to_wstring(100 + i) +
                            L" \"08.12.2026 01:" + std::to_wstring(10 + i) + L"\" KP-7 \"Şişli ığüöç\"");
    ASSERT_EQ(run.exitCode, 0) << common::ToUtf8(run.output);
  }
  std::vector<std::wstring> numbers;
  for (int i = 2; i <= 12; ++i) numbers.push_back(std::to_wstring(i));
  EXPECT_EQ(monitor.Column(0), numbers);
  EXPECT_EQ(monitor.Column(2).front(), L"0532000102");
  EXPECT_EQ(monitor.Column(3).back(), L"08.12.2026 01:22");
  EXPECT_EQ(monitor.Column(5).back(), L"Şişli ığüöç");
  EXPECT_EQ(monitor.Text(L"Label5"), L"12");
  ASSERT_FALSE(monitor.parts.balloonTitles.empty());
  EXPECT_EQ(monitor.parts.balloonTitles.back(), L"Çağrı: 12");

  ASSERT_EQ(Devctl(L"unplug").exitCode, 0);
  ASSERT_TRUE(Shows(monitor, L"Label9", NotConnected));
  EXPECT_EQ(monitor.form->TextGrid1().RowCount(), 11);
  for (std::int32_t col = 0; col < 6; ++col) EXPECT_THAT(monitor.Column(col), Each(L"")) << col;
  EXPECT_EQ(monitor.Text(L"Label5"), L"0");
  EXPECT_EQ(monitor.Text(L"Label24"), L"");
  const std::wstring afterLoss = monitor.Snapshot();
  PumpFor(3 * Tick);
  EXPECT_EQ(monitor.Snapshot(), afterLoss);

  Plug(monitor);
  EXPECT_EQ(monitor.form->TextGrid1().RowCount(), 11);
  EXPECT_THAT(monitor.Column(0), Each(L""));
  EXPECT_EQ(monitor.Text(L"Label5"), L"0");
}

TEST_F(EndToEnd, LevelsMoveTheMetersAndABadLevelChangesNothing) {
  Monitor monitor;
  ASSERT_EQ(Devctl(L"levels 0 15 30 7 1 2 3 4").exitCode, 0);
  EXPECT_EQ(monitor.Position(L"ProgressBar1"), 0);
  EXPECT_EQ(monitor.Position(L"ProgressBar2"), 15);
  EXPECT_EQ(monitor.Position(L"ProgressBar3"), 30);
  EXPECT_EQ(monitor.Position(L"ProgressBar4"), 7);
  EXPECT_EQ(monitor.Text(L"Label1"), L"0");
  EXPECT_EQ(monitor.Text(L"Label2"), L"15");
  EXPECT_EQ(monitor.Text(L"Label3"), L"30");
  EXPECT_EQ(monitor.Text(L"Label4"), L"7");

  PumpFor(2 * Tick);  // the connection poll has shown its status, which then stays
  const std::wstring before = monitor.Snapshot();
  ASSERT_EQ(Devctl(L"levels 9 abc 9 9 9 9 9 9").exitCode, 0);
  EXPECT_EQ(monitor.Snapshot(), before);
  EXPECT_TRUE(IsWindowVisible(monitor.form->Handle()));
}

TEST_F(EndToEnd, TheDeviceHearsTheAccessCodeStartThePollsAndTestStopInOrder) {
  Monitor monitor;
  PumpFor(3 * Tick);
  EXPECT_THAT(Devctl(L"status").output, HasSubstr(L"started"));
  bool canClose = false;
  monitor.form->Handlers().FormCloseQuery(canClose);
  const std::wstring log = Devctl(L"log").output;
  const auto access = log.find(L"+:~.-q"), start = log.find(L"Start()"), poll = log.find(L"devicemodel"),
             stop = log.find(L"test_stop");
  ASSERT_NE(access, std::wstring::npos) << common::ToUtf8(log);
  ASSERT_NE(start, std::wstring::npos) << common::ToUtf8(log);
  ASSERT_NE(poll, std::wstring::npos);
  ASSERT_NE(stop, std::wstring::npos);
  EXPECT_LT(access, start);
  EXPECT_LT(start, poll);
  EXPECT_LT(poll, stop);
  EXPECT_TRUE(canClose);
}

// Ten thousand calls as fast as the console tool sends them: the window keeps answering, and
// ends with the last eleven calls in view and every call shown once, in order.
TEST_F(EndToEnd, ABurstOfTenThousandCallsLeavesTheLastElevenInViewAndLosesNone) {
  constexpr int Calls = 10000;
  Monitor monitor;
  Plug(monitor);
  std::string requests;
  for (int i = 1; i <= Calls; ++i) requests += "call 1 " + std::to_string(i) + "\n";
  AnswerProbe probe(monitor.form->Handle());
  const DWORD start = GetTickCount();
  const auto run = Devctl(L"-", requests, 600000);
  const DWORD took = GetTickCount() - start;
  const DWORD longestWait = probe.Stop();
  ASSERT_EQ(run.exitCode, 0) << common::ToUtf8(run.output.substr(0, 500));
  std::printf("%d calls in %lu ms; the window answered within %lu ms\n", Calls, took, longestWait);
  EXPECT_LT(longestWait, 1000u);

  std::vector<std::wstring> lastEleven;
  for (int i = Calls - 10; i <= Calls; ++i) lastEleven.push_back(std::to_wstring(i));
  EXPECT_EQ(monitor.Column(0), lastEleven);
  EXPECT_EQ(monitor.Column(2), lastEleven);
  EXPECT_EQ(monitor.Text(L"Label5"), std::to_wstring(Calls));
  std::vector<std::wstring> everyCall;
  for (int i = 1; i <= Calls; ++i) everyCall.push_back(std::to_wstring(i));
  EXPECT_TRUE(monitor.parts.balloonTexts == everyCall);

  RECT client{};
  GetClientRect(monitor.form->Control(L"TextGrid1"), &client);
  const auto newest = monitor.form->TextGrid1().CellRect(0, 10);
  EXPECT_GE(newest.top, monitor.form->TextGrid1().HeaderHeight());
  EXPECT_LE(newest.bottom, client.bottom);
}

TEST_F(EndToEnd, WithoutTheDeviceControlTheWindowShowsTheInstallationTextsAndCloses) {
  RegisteredDevice::Unregister();
  Monitor monitor;
  EXPECT_EQ(monitor.Text(L"Label22"), L"Dosyalar eksik.");
  EXPECT_EQ(monitor.Text(L"Label5"), L"");
  EXPECT_EQ(monitor.Text(L"Label9"), L"Kurulumu tamamlayınız.");
  PumpFor(2 * Tick);
  EXPECT_EQ(monitor.Text(L"Label9"), L"Kurulumu tamamlayınız.");
  PostMessageW(monitor.form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return monitor.form->Handle() == nullptr; }, 2000));
}

// The window shows before start-up has made the device control: a close at once, and one
// later, both end the program normally.
void ClosesWithExitCodeZero() {
  MonitorProcess atOnce;
  ASSERT_NE(atOnce.Window(), nullptr);
  EXPECT_TRUE(atOnce.Close());
  EXPECT_EQ(atOnce.ExitCode(), 0u);

  MonitorProcess later;
  ASSERT_NE(later.Window(), nullptr);
  PumpFor(3 * Tick);
  EXPECT_TRUE(later.Close());
  EXPECT_EQ(later.ExitCode(), 0u);
}

TEST_F(EndToEnd, TestExeEndsWithExitCodeZeroWhenClosed) { ClosesWithExitCodeZero(); }

TEST_F(EndToEnd, WithoutTheDeviceControlTestExeEndsWithExitCodeZeroWhenClosed) {
  RegisteredDevice::Unregister();
  ClosesWithExitCodeZero();
}

// A second start brings the first window forward and ends, so that no call beeps twice; the
// one program has its beep mutex.
TEST_F(EndToEnd, ASecondStartBringsTheFirstWindowForwardAndEnds) {
  MonitorProcess first;
  ASSERT_NE(first.Window(), nullptr);
  const std::wstring name = std::to_wstring(first.Id()) + L".b..1";
  HANDLE mutex = nullptr;
  PumpUntil([&] { return (mutex = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str())) != nullptr; }, 8 * Tick);
  EXPECT_NE(mutex, nullptr) << common::ToUtf8(name);
  if (mutex) CloseHandle(mutex);
  EXPECT_EQ(GetWindowTextLengthW(first.Window()), 4);  // "TEST"
  ShowWindow(first.Window(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(first.Window()));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION second{};
  std::wstring line = L"\"" + BuiltPath(TEST_EXE_PATH) + L"\"";
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &second));
  EXPECT_EQ(WaitForSingleObject(second.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(second.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(second.hThread);
  CloseHandle(second.hProcess);
  EXPECT_TRUE(PumpUntil([&] { return !IsIconic(first.Window()); }, 2000));
  EXPECT_EQ(FindWindowExW(nullptr, first.Window(), L"TForm1", nullptr), nullptr);  // no second window
  EXPECT_TRUE(first.Close());
  EXPECT_EQ(first.ExitCode(), 0u);
}

}  // namespace
}  // namespace monitor::win32::testing
