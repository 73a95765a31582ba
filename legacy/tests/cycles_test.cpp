// Ten thousand controls made, connected, started and released: nothing is left behind.
#include <windows.h>
#include <ole2.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "legacy/dispids.h"
#include "legacy/tests/com_host.h"
#include "legacy/tests/process_usage.h"
#include "legacy/tests/wine_paths.h"

namespace {

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
  test::RegisterServers();
  HMODULE module = LoadLibraryW(test::Tevrin4Path().c_str());
  using CanUnloadNowFunction = HRESULT(STDAPICALLTYPE*)();
  auto canUnloadNow =
      reinterpret_cast<CanUnloadNowFunction>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  ASSERT_NE(canUnloadNow, nullptr);

  test::EventRecorder events;
  // The first cycles load what stays loaded: libraries, window classes, type information.
  for (int i = 0; i < 200; ++i) ASSERT_EQ(Cycle(events), 0u);
  test::PumpFor(100);
  const test::Usage before = test::Measure();
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
  const test::Usage after = test::Measure();
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
  EXPECT_LE(after.handles, before.handles + 2);
  // One handle of a kind left behind per cycle would move these on by ten thousand places.
  EXPECT_LE(after.nextKernelHandle, before.nextKernelHandle + 16);
  EXPECT_LE(after.nextGdiHandle, before.nextGdiHandle + 16);
  EXPECT_LE(after.nextUserHandle, before.nextUserHandle + 16);
  // Even 16 bytes a cycle would show as 160 kB.
  EXPECT_LT(after.heapBytes, before.heapBytes + 64 * 1024);
  EXPECT_EQ(events.References(), 0u);
  EXPECT_EQ(canUnloadNow(), S_OK);
  std::printf("GDI %lu->%lu, USER %lu->%lu, handles %lu->%lu, next kernel handle %u->%u, next GDI handle %u->%u, "
              "next USER handle %u->%u, heap bytes %lu->%lu\n",
              before.gdi, after.gdi, before.user, after.user, before.handles, after.handles, before.nextKernelHandle,
              after.nextKernelHandle, before.nextGdiHandle, after.nextGdiHandle, before.nextUserHandle,
              after.nextUserHandle, static_cast<unsigned long>(before.heapBytes),
              static_cast<unsigned long>(after.heapBytes));
  FreeLibrary(module);
  OleUninitialize();
}

}  // namespace
