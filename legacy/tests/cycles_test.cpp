// Ten thousand controls made, connected, started and released: nothing is left behind.
#include <windows.h>
#include <ole2.h>
#include <psapi.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "legacy/dispids.h"
#include "legacy/tests/com_host.h"
#include "legacy/tests/wine_paths.h"

namespace {

// What the process holds. The system's own counters (Windows) and, where the system does not
// keep them (Wine answers 0), the place of the next new handle of each kind: handles are
// given out from the lowest free place, so every handle left behind pushes the next one on.
struct Usage {
  DWORD gdi;
  DWORD user;
  DWORD handles;
  unsigned nextKernelHandle;
  unsigned nextGdiHandle;
  unsigned nextUserHandle;
  SIZE_T heapBytes;
};

unsigned PlaceOf(const void* handle) { return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(handle) & 0xFFFF); }

// Bytes in use in every heap of the process.
SIZE_T HeapBytesInUse() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  SIZE_T total = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return total;
}

Usage Measure() {
  Usage usage{};
  usage.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  usage.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  GetProcessHandleCount(GetCurrentProcess(), &usage.handles);
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  usage.nextKernelHandle = PlaceOf(event);
  CloseHandle(event);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  usage.nextGdiHandle = PlaceOf(brush);
  DeleteObject(brush);
  HMENU menu = CreateMenu();
  usage.nextUserHandle = PlaceOf(menu);
  DestroyMenu(menu);
  usage.heapBytes = HeapBytesInUse();
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
