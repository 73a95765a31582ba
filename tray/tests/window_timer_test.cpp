// TWindowTimer over a recording timer window: when a system timer runs, at which interval,
// and the life of the shared window.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tray/tests/fake_timer_window.h"
#include "tray/window_timer.h"
#include "tray/window_timer_handler.h"

namespace tray {
namespace {

using testing::FireTimer;
using testing::TimerWindows;

bool Runs(const TWindowTimer& timer) { return TimerWindows().running.count(timer.Identifier()); }
std::uint32_t RunningInterval(const TWindowTimer& timer) {
  return TimerWindows().running.at(timer.Identifier());
}

struct Ticks {
  std::vector<TWindowTimer*> senders;
  TWindowTimer::TimerEvent Event() {
    return TWindowTimer::TimerEvent([this](TWindowTimer& sender) { senders.push_back(&sender); });
  }
};

TEST(WindowTimer, StartsDisabledWithItsDefaults) {
  TWindowTimer plain;
  EXPECT_FALSE(plain.Enabled());
  EXPECT_EQ(plain.Interval(), 1000u);
  EXPECT_FALSE(plain.OnTimer().Assigned());
  EXPECT_FALSE(Runs(plain));

  Ticks ticks;
  TWindowTimer given(50, ticks.Event());
  EXPECT_FALSE(given.Enabled());
  EXPECT_EQ(given.Interval(), 50u);
  EXPECT_TRUE(given.OnTimer().Assigned());
  EXPECT_EQ(plain.Identifier(), reinterpret_cast<std::uintptr_t>(&plain));
}

TEST(WindowTimer, RunsWhileEnabledAndCallsBackWithItself) {
  Ticks ticks;
  TWindowTimer timer(50, ticks.Event());
  timer.SetEnabled(true);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(RunningInterval(timer), 50u);
  EXPECT_TRUE(FireTimer(timer.Identifier()));
  EXPECT_TRUE(FireTimer(timer.Identifier()));
  EXPECT_EQ(ticks.senders, (std::vector<TWindowTimer*>{&timer, &timer}));

  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_FALSE(Runs(timer));
}

TEST(WindowTimer, ZeroIntervalNeverStarts) {
  TWindowTimer timer(0, {});
  timer.SetEnabled(true);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_FALSE(Runs(timer));
}

TEST(WindowTimer, ZeroIntervalHoldsAndALaterOneRestarts) {
  Ticks ticks;
  TWindowTimer timer(100, ticks.Event());
  timer.SetEnabled(true);

  timer.SetInterval(0);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_FALSE(Runs(timer));

  timer.SetInterval(250);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(RunningInterval(timer), 250u);
}

TEST(WindowTimer, NewIntervalRestartsOnlyAnEnabledTimer) {
  TWindowTimer timer;
  timer.SetInterval(300);
  EXPECT_FALSE(Runs(timer));
  timer.SetEnabled(true);
  timer.SetInterval(400);
  EXPECT_EQ(RunningInterval(timer), 400u);
}

TEST(WindowTimer, EmptiedCallbackHoldsAndAssigningOneDoesNotStart) {
  Ticks ticks;
  TWindowTimer timer(100, ticks.Event());
  timer.SetEnabled(true);

  timer.SetOnTimer({});
  EXPECT_TRUE(timer.Enabled());
  EXPECT_FALSE(Runs(timer));

  timer.SetOnTimer(ticks.Event());
  EXPECT_FALSE(Runs(timer));
  timer.SetEnabled(true);
  EXPECT_TRUE(Runs(timer));
}

TEST(WindowTimer, RefusedSystemTimerLeavesItDisabled) {
  TWindowTimer timer(100, {});
  TimerWindows().refuseNextStart = true;
  timer.SetEnabled(true);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_FALSE(Runs(timer));
}

TEST(WindowTimer, SameIntervalTimersAreToldApart) {
  Ticks first, second;
  TWindowTimer a(100, first.Event()), b(100, second.Event());
  a.SetEnabled(true);
  b.SetEnabled(true);
  FireTimer(b.Identifier());
  FireTimer(a.Identifier());
  FireTimer(b.Identifier());
  EXPECT_EQ(first.senders, (std::vector<TWindowTimer*>{&a}));
  EXPECT_EQ(second.senders, (std::vector<TWindowTimer*>{&b, &b}));
}

TEST(WindowTimerHandler, SharedWindowLivesFromFirstTimerToLast) {
  ASSERT_EQ(TimerWindowHandler(), nullptr);
  const int before = TimerWindows().created;
  {
    TWindowTimer a;
    auto b = std::make_unique<TWindowTimer>();
    EXPECT_EQ(TimerWindows().created, before + 1);
    EXPECT_EQ(TimerWindowHandler()->UserCount(), 2u);
    b.reset();
    EXPECT_EQ(TimerWindowHandler()->UserCount(), 1u);
    EXPECT_EQ(TimerWindows().alive, 1);
  }
  EXPECT_EQ(TimerWindowHandler(), nullptr);
  EXPECT_EQ(TimerWindows().alive, 0);

  TWindowTimer again;
  EXPECT_EQ(TimerWindows().created, before + 2);
  EXPECT_EQ(TimerWindows().alive, 1);
}

TEST(WindowTimerHandler, DestroyedTimerStopsAndItsLateMessagesAreIgnored) {
  Ticks ticks;
  TWindowTimer keepsWindow;
  auto timer = std::make_unique<TWindowTimer>(100, ticks.Event());
  timer->SetEnabled(true);
  const auto identifier = timer->Identifier();
  timer.reset();
  EXPECT_FALSE(TimerWindows().running.count(identifier));
  testing::DeliverTimerMessage(identifier);
  EXPECT_TRUE(ticks.senders.empty());
}

TEST(WindowTimerHandler, CallbackMayDestroyTheLastTimer) {
  auto timer = std::make_unique<TWindowTimer>();
  timer->SetOnTimer(TWindowTimer::TimerEvent([&timer](TWindowTimer&) { timer.reset(); }));
  timer->SetInterval(10);
  timer->SetEnabled(true);
  const auto identifier = timer->Identifier();
  EXPECT_TRUE(FireTimer(identifier));
  EXPECT_EQ(timer, nullptr);
  EXPECT_EQ(TimerWindowHandler(), nullptr);
}

}  // namespace
}  // namespace tray
