// Times one call's handling in Test.exe's window: from the device's event to the grid
// repainted and the balloon handed to the shell, against one repaint of an empty window in
// the same program. Prints the medians and their ratio.
//   call_timing.exe [CALLS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "monitor/win32/form1_window.h"
#include "monitor/win32/timing/timed_parts.h"
#include "tray/win32/application.h"

namespace {

using monitor::win32::timing::ReportCall;
using monitor::win32::timing::TimedParts;

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1e6 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

HWND EmptyWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"EmptyWindow";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, L"EmptyWindow", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 484, 390,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  UpdateWindow(window);
  return window;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int calls = argc > 1 ? std::max(11, _wtoi(argv[1])) : 300;
  tray::TApplication application(L"Test");
  TimedParts parts;
  monitor::win32::TForm1 form(parts, application);
  application.ProcessMessages();
  HWND grid = form.Control(L"TextGrid1");

  std::vector<double> call, empty;
  for (int i = 0; i < calls; ++i) {
    const double start = Now();
    ReportCall(parts, *form.Handlers().Tevrin51());
    UpdateWindow(grid);
    call.push_back(Now() - start);
  }
  HWND emptyWindow = EmptyWindow();
  for (int i = 0; i < calls; ++i) {
    const double start = Now();
    InvalidateRect(emptyWindow, nullptr, TRUE);
    UpdateWindow(emptyWindow);
    empty.push_back(Now() - start);
  }
  DestroyWindow(emptyWindow);
  const double c = Median(call), e = Median(empty);
  std::printf("one call, event to grid repainted and balloon handed over, median of %d: %.1f us "
              "(%d balloons); one repaint of an empty window: %.1f us; ratio %.1f\n",
              calls, c, parts.balloons, e, c / e);
  return parts.balloons == calls ? 0 : 1;
}
