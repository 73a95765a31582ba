// The source's thread under Wine: stopping it never waits for a source that is slow to open,
// which then finishes on its own; and a source that floods it fills no more than its queue.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>

#include "common/error.h"
#include "opencid/win32/source_worker.h"

namespace opencid::test {
namespace {

TEST(SourceWorkerTest, StoppingNeverWaitsForASlowSourceWhichFinishesOnItsOwn) {
  auto finished = std::make_shared<std::atomic<bool>>(false);
  DWORD stopMs = 0;
  {
    SourceWorker worker(SourceSetting{}, nullptr, 0,
                        [finished](const SourceSetting&, const std::atomic<bool>&) -> std::unique_ptr<SourceLink> {
                          Sleep(1500);  // a host-name lookup that nothing interrupts
                          *finished = true;
                          throw common::Error(L"unknown host");
                        });
    Sleep(100);
    stopMs = GetTickCount();
  }
  stopMs = GetTickCount() - stopMs;
  EXPECT_LE(stopMs, 250u);
  EXPECT_FALSE(*finished);
  for (int wait = 0; wait < 40 && !*finished; ++wait) Sleep(100);
  EXPECT_TRUE(*finished);
}

// A server that sends calls as fast as it can.
class FloodingLink final : public SourceLink {
 public:
  std::size_t Read(char* buffer, std::size_t size) override {
    static const char kLines[] = "CID: *NMBR*1*LINE*POTS*\n";
    std::size_t filled = 0;
    for (; filled + sizeof kLines - 1 <= size; filled += sizeof kLines - 1) std::memcpy(buffer + filled, kLines, sizeof kLines - 1);
    return filled;
  }
  void Write(std::string_view) override {}
};

TEST(SourceWorkerTest, AControlThatTakesNothingMakesTheSourceWaitRatherThanFillMemory) {
  HWND busy = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, busy);
  {
    SourceWorker worker(SourceSetting{}, busy, WM_APP,
                        [](const SourceSetting&, const std::atomic<bool>&) -> std::unique_ptr<SourceLink> {
                          return std::make_unique<FloodingLink>();
                        });
    Sleep(1000);
    const std::size_t first = worker.Take().size();
    EXPECT_GE(first, 2u);
    EXPECT_LE(first, SourceWorker::kMostReports);
    Sleep(300);
    EXPECT_LE(worker.Take().size(), SourceWorker::kMostReports);  // and it goes on after a take
  }
  DestroyWindow(busy);
}

}  // namespace
}  // namespace opencid::test
