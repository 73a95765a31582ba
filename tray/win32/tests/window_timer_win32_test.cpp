// TWindowTimer under Wine: real WM_TIMER messages on the shared message-only window.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tray/win32/tests/message_pump.h"
#include "tray/win32/tests/tray_test_support.h"
#include "tray/win32/timer_window_win32.h"
#include "tray/window_timer.h"

namespace tray {
namespace {

using testing::PumpFor;
using testing::PumpUntil;
using testing::PumpWaitingMessages;

HWND SharedTimerWindow() { return testing::OwnWindow(HWND_MESSAGE, kTimerWindowClass); }

struct TickLog {
  std::vector<ULONGLONG> times;
  std::vector<TWindowTimer*> senders;
  TWindowTimer::TimerEvent Event() {
    return TWindowTimer::TimerEvent([this](TWindowTimer& sender) {
      times.push_back(GetTickCount64());
      senders.push_back(&sender);
    });
  }
};

TEST(WindowTimerUnderWine, TicksWhileEnabledAndStopsWhenDisabled) {
  TickLog log;
  TWindowTimer timer(30, log.Event());
  PumpFor(100);
  EXPECT_TRUE(log.times.empty());

  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return log.times.size() >= 3; }, 2000));
  EXPECT_EQ(log.senders.front(), &timer);

  timer.SetEnabled(false);
  PumpWaitingMessages();
  const auto ticks = log.times.size();
  PumpFor(150);
  EXPECT_EQ(log.times.size(), ticks);
}

TEST(WindowTimerUnderWine, ZeroIntervalNeverStarts) {
  TickLog log;
  TWindowTimer timer(0, log.Event());
  timer.SetEnabled(true);
  EXPECT_FALSE(timer.Enabled());
  PumpFor(150);
  EXPECT_TRUE(log.times.empty());
}

TEST(WindowTimerUnderWine, ZeroIntervalHoldsThen250Restarts) {
  TickLog log;
  TWindowTimer timer(20, log.Event());
  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return !log.times.empty(); }, 2000));

  timer.SetInterval(0);
  PumpWaitingMessages();
  log.times.clear();
  PumpFor(300);
  EXPECT_TRUE(log.times.empty());
  EXPECT_TRUE(timer.Enabled());

  const ULONGLONG restarted = GetTickCount64();
  timer.SetInterval(250);
  ASSERT_TRUE(PumpUntil([&] { return !log.times.empty(); }, 3000));
  // Window timers are coarse: allow for the system's granularity, not for a 20 ms timer. A
  // late tick does not move the next one, so the rate is counted rather than one gap.
  EXPECT_GE(log.times[0] - restarted, 200u);
  PumpFor(1000);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_GE(log.times.size(), 3u);
  EXPECT_LE(log.times.size(), 6u);
}

TEST(WindowTimerUnderWine, SharedWindowGoesWithTheLastTimerAndComesBack) {
  ASSERT_EQ(SharedTimerWindow(), nullptr);
  auto first = std::make_unique<TWindowTimer>();
  auto second = std::make_unique<TWindowTimer>();
  const HWND window = SharedTimerWindow();
  ASSERT_NE(window, nullptr);

  first.reset();
  EXPECT_TRUE(IsWindow(window));
  second.reset();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(SharedTimerWindow(), nullptr);

  TickLog log;
  TWindowTimer again(20, log.Event());
  EXPECT_NE(SharedTimerWindow(), nullptr);
  again.SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return !log.times.empty(); }, 2000));
}

TEST(WindowTimerUnderWine, SameIntervalTimersEachGetTheirOwnCallback) {
  TickLog first, second;
  TWindowTimer a(40, first.Event()), b(40, second.Event());
  a.SetEnabled(true);
  b.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return first.senders.size() >= 2 && second.senders.size() >= 2; },
                        3000));
  for (auto* sender : first.senders) EXPECT_EQ(sender, &a);
  for (auto* sender : second.senders) EXPECT_EQ(sender, &b);
}

TEST(WindowTimerUnderWine, MessageLeftInTheQueueAfterDestructionIsIgnored) {
  TickLog log;
  TWindowTimer keepsWindow;
  auto timer = std::make_unique<TWindowTimer>(1000, log.Event());
  const auto identifier = timer->Identifier();
  const HWND window = SharedTimerWindow();
  PostMessageW(window, WM_TIMER, identifier, 0);
  timer.reset();
  PumpFor(50);
  EXPECT_TRUE(log.times.empty());
}

}  // namespace
}  // namespace tray
