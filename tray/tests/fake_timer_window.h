// A timer window that only records: which system timers run, at what interval, and how many
// windows were made. Tests deliver timer messages by hand.
#pragma once

#include <cstdint>
#include <map>

namespace tray::testing {

struct FakeTimerWindows {
  int created = 0;
  int alive = 0;
  // The running system timers of the live window: identifier -> interval.
  std::map<std::uintptr_t, std::uint32_t> running;
  // Makes the next StartTimer fail, as a system out of timers would.
  bool refuseNextStart = false;
};

FakeTimerWindows& TimerWindows();

// The system's timer message for a running timer; false when no such timer runs.
bool FireTimer(std::uintptr_t identifier);
// A timer message whatever runs: one left in the queue after its timer was killed.
void DeliverTimerMessage(std::uintptr_t identifier);

}  // namespace tray::testing
