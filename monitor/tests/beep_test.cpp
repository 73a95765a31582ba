// The call beep: the mutex name, what each wait result does, and a burst of calls that
// gives at most three beeps with real threads and a real timed mutex.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "monitor/tests/fake_form.h"

namespace monitor::testing {
namespace {

using ::testing::ElementsAre;

TEST(BeepMutexName, IsTheProcessIdentifierFollowedByTheSuffix) {
  EXPECT_EQ(BeepMutexName(1234), L"1234.b..1");
  EXPECT_EQ(BeepMutexName(4294967295u), L"4294967295.b..1");
}

TEST(Tbip, SoundsUnlessTheWaitTimedOutAndAlwaysReleases) {
  for (auto [answer, beeps] : {std::pair{WaitResult::Acquired, 1u}, {WaitResult::Abandoned, 1u},
                               {WaitResult::Failed, 1u}, {WaitResult::TimedOut, 0u}}) {
    FakeBeepSystem system;
    system.Mutex->Answer = answer;
    Tbip::Execute(system, *system.Mutex, system.Now);
    EXPECT_EQ(system.Beeps.size(), beeps);
    EXPECT_THAT(system.Mutex->Waits, ElementsAre(100u));
    EXPECT_EQ(system.Mutex->Releases, 1);
  }
  FakeBeepSystem system;
  Tbip::Execute(system, *system.Mutex, system.Now);
  EXPECT_THAT(system.Beeps, ElementsAre(std::pair{1000u, 50u}));
}

// A beep that starts late waits only for the rest of its 100 ms, and not at all once they
// have passed; it still gives the mutex back.
TEST(Tbip, ALateBeepWaitsWhatIsLeftOfItsTime) {
  FakeBeepSystem system;
  Tbip::Execute(system, *system.Mutex, system.Now - 40);
  Tbip::Execute(system, *system.Mutex, system.Now - 100);
  Tbip::Execute(system, *system.Mutex, system.Now - 250);
  EXPECT_THAT(system.Mutex->Waits, ElementsAre(60u));
  EXPECT_EQ(system.Beeps.size(), 1u);
  EXPECT_EQ(system.Mutex->Releases, 3);
}

TEST(Tbip, TheMutexGoesBackWhenTheSpeakerFails) {
  struct FailingSpeaker : FakeBeepSystem {
    void Beep(std::uint32_t, std::uint32_t) override { throw std::runtime_error("no speaker"); }
  } system;
  Tbip::Execute(system, *system.Mutex, system.Now);
  EXPECT_EQ(system.Mutex->Releases, 1);
}

TEST(Tbip, EveryCallStartsOneBeepOnTheProcessMutex) {
  FakeForm form;
  form.Start();
  form.Call(L"1");
  form.Call(L"2");
  ASSERT_EQ(form.beeps.Pending.size(), 2u);
  form.beeps.RunPending();
  EXPECT_EQ(form.beeps.Beeps.size(), 2u);
  EXPECT_THAT(form.beeps.Mutex->Waits, ElementsAre(100u, 100u));
}

// A named mutex as the kernel keeps it: timed waits, release only by the owner.
class TimedMutex : public IBeepMutex {
 public:
  WaitResult Wait(std::uint32_t ms) override {
    if (!mutex_.try_lock_for(std::chrono::milliseconds(ms))) return WaitResult::TimedOut;
    std::lock_guard guard(ownerLock_);
    owner_ = std::this_thread::get_id();
    return WaitResult::Acquired;
  }
  void Release() override {
    std::lock_guard guard(ownerLock_);
    if (owner_ != std::this_thread::get_id()) return;
    owner_ = {};
    mutex_.unlock();
  }

 private:
  std::timed_mutex mutex_;
  std::mutex ownerLock_;
  std::thread::id owner_;
};

// Beep threads released together once all have been started, a speaker busy for the
// length of each beep.
class ThreadedBeeps : public IBeepSystem {
 public:
  explicit ThreadedBeeps(int burst) : burst_(burst) {}
  ~ThreadedBeeps() override { JoinAll(); }
  std::uint32_t CurrentProcessId() override { return 77; }
  std::shared_ptr<IBeepMutex> OpenOrCreateMutex(const std::wstring&) override {
    return std::make_shared<TimedMutex>();
  }
  std::uint64_t Milliseconds() override {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }
  void RunAside(std::function<void()> body) override {
    threads_.emplace_back([this, body = std::move(body)] {
      {
        std::unique_lock lock(gate_);
        ++started_;
        opened_.notify_all();
        opened_.wait(lock, [this] { return started_ >= burst_; });
      }
      body();
    });
  }
  void Beep(std::uint32_t, std::uint32_t durationMs) override {
    ++beeps;
    std::this_thread::sleep_for(std::chrono::milliseconds(durationMs));
  }
  void JoinAll() {
    for (auto& t : threads_)
      if (t.joinable()) t.join();
  }
  std::atomic<int> beeps{0};

 private:
  int burst_;
  int started_ = 0;
  std::mutex gate_;
  std::condition_variable opened_;
  std::vector<std::thread> threads_;
};

TEST(Tbip, FiveCallsAtOnceGiveAtMostThreeBeeps) {
  ThreadedBeeps system(5);
  auto mutex = system.OpenOrCreateMutex(BeepMutexName(system.CurrentProcessId()));
  for (int i = 0; i < 5; ++i) Tbip::Start(system, mutex);
  system.JoinAll();
  EXPECT_GE(system.beeps.load(), 1);
  EXPECT_LE(system.beeps.load(), 3);
}

}  // namespace
}  // namespace monitor::testing
