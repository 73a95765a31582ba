// A long run of Test.exe's window: 100,000 calls handled in one process, each followed by the
// messages it leaves, as the program's loop would hand them out. Prints the growth of the
// memory in use from 1,000 calls to 100,000 as a row of the benchmark table; fails when it
// exceeds 64 KB, that is when handling calls keeps memory.
//   long_run.exe [CALLS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/bench/bench_row.h"
#include "monitor/win32/form1_window.h"
#include "monitor/win32/timing/timed_parts.h"
#include "tray/win32/application.h"

namespace {

using monitor::win32::timing::ReportCall;
using monitor::win32::timing::TimedParts;

constexpr int Warmup = 1000;
constexpr long long AllowedGrowth = 64 * 1024;

// Bytes in busy blocks of every heap of the process (Wine leaves the process's private byte
// count at 0, so the heaps are walked).
long long HeapBytesInUse() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 8);
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  long long used = 0;
  for (HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
    HeapUnlock(heap);
  }
  return used;
}

// Read once the beeps have ended; the scripted device's record of the polls is the
// run's own bookkeeping, not the program's, and is emptied first.
long long MemoryInUse(TimedParts& parts, tray::TApplication& application) {
  Sleep(300);
  application.ProcessMessages();
  parts.devices.State.Received.clear();
  parts.devices.State.Received.shrink_to_fit();
  return HeapBytesInUse();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int calls = argc > 1 ? std::max(Warmup, _wtoi(argv[1])) : 100000;
  tray::TApplication application(L"Test");
  TimedParts parts;
  monitor::win32::TForm1 form(parts, application);
  application.ProcessMessages();
  const DWORD start = GetTickCount();
  long long early = 0;
  for (int i = 1; i <= calls; ++i) {
    ReportCall(parts, *form.Handlers().Tevrin51());
    application.ProcessMessages();
    if (i == Warmup) early = MemoryInUse(parts, application);
  }
  const long long late = MemoryInUse(parts, application);
  std::printf("%d calls in %lu ms (%d balloons)\n", calls, GetTickCount() - start, parts.balloons);
  using common::bench::Format;
  common::bench::Print({Format("Test.exe heap after %d calls, growth since %d", calls, Warmup),
                        Format("%+lld B", late - early), Format("%lld B after %d calls", early, Warmup),
                        Format("%.4g", static_cast<double>(late) / static_cast<double>(early)),
                        Format("<= %+lld B", AllowedGrowth), late - early <= AllowedGrowth});
  return parts.balloons == calls && late - early <= AllowedGrowth ? 0 : 1;
}
