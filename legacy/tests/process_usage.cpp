#include "legacy/tests/process_usage.h"

namespace test {
namespace {

unsigned PlaceOf(const void* handle) { return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(handle) & 0xFFFF); }

}  // namespace

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

}  // namespace test
