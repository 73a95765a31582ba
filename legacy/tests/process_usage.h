// What the process holds, to show that repeating something leaves nothing behind: the
// system's own counters (Windows) and, where the system does not keep them (Wine answers 0),
// the place of the next new handle of each kind: handles are given out from the lowest free
// place, so every handle left behind pushes the next one on.
#pragma once

#include <windows.h>

namespace test {

struct Usage {
  DWORD gdi;
  DWORD user;
  DWORD handles;
  unsigned nextKernelHandle;
  unsigned nextGdiHandle;
  unsigned nextUserHandle;
  SIZE_T heapBytes;
};

Usage Measure();

// Bytes in use in every heap of the process.
SIZE_T HeapBytesInUse();

}  // namespace test
