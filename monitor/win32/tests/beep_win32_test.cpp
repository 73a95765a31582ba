// The beep with the real named mutex and the real thread pool: the mutex carries the
// process's name, five calls at once sound at most three times, and no beep outlives the
// beep system.
#include <gtest/gtest.h>

#include "monitor/win32/tests/test_parts.h"

namespace monitor::win32::testing {
namespace {

TEST(BeepWin32, TheProcessMutexIsNamedAfterTheProcess) {
  TestParts parts;
  TForm1 form(parts, parts.application);
  const std::wstring name = std::to_wstring(GetCurrentProcessId()) + L".b..1";
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
  EXPECT_NE(mutex, nullptr);
  if (mutex) CloseHandle(mutex);
}

TEST(BeepWin32, FiveCallsAtOnceGiveAtMostThreeBeeps) {
  TestParts parts;
  TForm1 form(parts, parts.application);
  for (int i = 0; i < 5; ++i)
    parts.devices.State.OnCallerID(*form.Handlers().Tevrin51(), {L"D", L"1", L"0555", L"t", L""});
  Sleep(600);
  EXPECT_GE(parts.beepCount.load(), 1);
  EXPECT_LE(parts.beepCount.load(), 3);
  EXPECT_EQ(form.LabelNamed(L"Label5").Caption().size(), 1u);
}

// Quitting right after a burst of calls: every beep has ended before the beep system it
// calls goes away.
TEST(BeepWin32, BeepsEndBeforeTheBeepSystemGoes) {
  struct FreeMutex : IBeepMutex {
    WaitResult Wait(std::uint32_t) override { return WaitResult::Acquired; }
    void Release() override {}
  };
  std::atomic<int> started{0}, ended{0};
  {
    Win32BeepSystem beeps{[&](std::uint32_t, std::uint32_t) {
      ++started;
      Sleep(100);
      ++ended;
    }};
    const auto mutex = std::make_shared<FreeMutex>();
    for (int i = 0; i < 5; ++i) Tbip::Start(beeps, mutex);
  }
  EXPECT_GE(started.load(), 1);
  EXPECT_EQ(ended.load(), started.load());
}

}  // namespace
}  // namespace monitor::win32::testing
