// Times how long a program takes from its start to its first painted window, for Test.exe
// and for a minimal one-window program, alternating, and prints the medians as a row of the
// benchmark table.
//   startup_timing.exe TEST.exe MINIMAL.exe [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "common/bench/bench_row.h"

using common::bench::Median;

namespace {

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK FindUnpaintedChild(HWND child, LPARAM parameter) {
  if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
  *reinterpret_cast<bool*>(parameter) = true;
  return FALSE;
}

// Whether the window and every visible window in it have nothing left to paint.
bool Painted(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return false;
  bool unpainted = false;
  EnumChildWindows(window, FindUnpaintedChild, reinterpret_cast<LPARAM>(&unpainted));
  return !unpainted;
}

// Milliseconds from CreateProcess to a visible window painted whole, controls included:
// what the user sees first (work the program does after it is not counted); negative when
// it never came.
double TimeToFirstPaint(const std::wstring& program) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + program + L"\"";
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return -1;
  double elapsed = -1;
  HWND window = nullptr;
  for (int poll = 0; poll < 30000; ++poll) {
    Search search{process.dwProcessId, nullptr};
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found && Painted(search.found)) {
      QueryPerformanceCounter(&now);
      elapsed = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
      window = search.found;
      break;
    }
    Sleep(1);
  }
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: startup_timing TEST.exe MINIMAL.exe [RUNS]\n", stderr);
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 7;
  std::vector<double> test, minimal;
  TimeToFirstPaint(argv[1]);  // the first start of each pays for loading from disk
  TimeToFirstPaint(argv[2]);
  for (int run = 0; run < runs; ++run) {
    const double t = TimeToFirstPaint(argv[1]);
    const double m = TimeToFirstPaint(argv[2]);
    if (t < 0 || m < 0) {
      std::fputs("startup_timing: a program showed no painted window\n", stderr);
      return 1;
    }
    test.push_back(t);
    minimal.push_back(m);
  }
  common::bench::PrintRatio("start-up of Test.exe to its first painted window", Median(test), "minimal window",
                            Median(minimal), "ms", 1.5, common::bench::Format("medians of %d", runs));
  return 0;
}
