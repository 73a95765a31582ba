// Ten thousand controls made, connected, started and released: nothing is left behind.
#include <windows.h>
#include <ole2.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include "legacy/dispids.h"
#include "legacy/tests/com_host.h"
#include "legacy/tests/wine_paths.h"

namespace {

struct Usage {
  DWORD gdi;
  DWORD user;
  DWORD handles;
  SIZE_T memory;
};

Usage Measure() {
  Usage usage{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
              0, 0};
  GetProcessHandleCount(GetCurrentProcess(), &usage.handles);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  usage.memory = memory.PrivateUsage;
  return usage;
}

// One host's life with a control; answers the final Release's count.
ULONG Cycle(test::EventRecorder& events) {
  test::ComPtr<legacy::IKalloraPlus> control = test::CreateControl();
  if (!control) return 1;
  test::ComPtr<IConnectionPoint> point = test::EventPoint(control.Get());
  DWORD cookie = 0;
  point->Advise(static_cast<IDispatch*>(&events), &cookie);
  control->Start();
  point->Unadvise(cookie);
  point.Reset();
  return control.Detach()->Release();
}

TEST(Cycles, TenThousandControlsLeaveNothingBehind) {
  OleInitialize(nullptr);
  test::RegisterDevice();
  test::RegisterServer(test::Tevrin4Path());
  HMODULE module = LoadLibraryW(test::Tevrin4Path().c_str());
  using CanUnloadNowFunction = HRESULT(STDAPICALLTYPE*)();
  auto canUnloadNow =
      reinterpret_cast<CanUnloadNowFunction>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  ASSERT_NE(canUnloadNow, nullptr);

  test::EventRecorder events;
  // The first cycles load what stays loaded: libraries, window classes, type information.
  for (int i = 0; i < 200; ++i) ASSERT_EQ(Cycle(events), 0u);
  test::PumpFor(100);
  const Usage before = Measure();
  for (int i = 0; i < 10000; ++i) {
    ASSERT_EQ(Cycle(events), 0u) << "cycle " << i;
    if (i % 100 == 0) {
      events.events.clear();
      test::PumpFor(0);
    }
  }
  events.events.clear();
  events.events.shrink_to_fit();
  test::PumpFor(100);
  const Usage after = Measure();
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
  EXPECT_LE(after.handles, before.handles + 2);
  // A leak of even 100 bytes a cycle would show as a megabyte.
  EXPECT_LT(after.memory, before.memory + 512 * 1024) << before.memory << " -> " << after.memory;
  EXPECT_EQ(events.References(), 0u);
  EXPECT_EQ(canUnloadNow(), S_OK);
  std::printf("GDI %lu->%lu USER %lu->%lu handles %lu->%lu memory %lu->%lu\n", before.gdi, after.gdi, before.user,
              after.user, before.handles, after.handles, static_cast<unsigned long>(before.memory),
              static_cast<unsigned long>(after.memory));
  FreeLibrary(module);
  OleUninitialize();
}

}  // namespace
