// Times one call in Test.exe's window, from the device's event to the grid and the counter
// repainted and the balloon handed to the shell, against the work a call cannot avoid: one
// repaint of the same grid window holding the same 11 rows, plus one balloon handed to the
// same, real shell. Prints its table row and where the call's time goes: the windows
// painted and how much of each, the balloons.
//   call_timing.exe [CALLS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "common/bench/bench_row.h"
#include "grid/win32/update_region.h"
#include "monitor/form1_texts.h"
#include "monitor/win32/form1_window.h"
#include "monitor/win32/timing/timed_parts.h"
#include "tray/win32/application.h"

namespace {

using common::bench::Median;
using common::bench::Microseconds;
using monitor::win32::timing::ReportCall;
using monitor::win32::timing::TimedParts;

constexpr int kRows = 11;
constexpr int kCountedCalls = 20;

// Counts the paints each window class receives on this thread, and the pixels they repaint.
// A hook costs every message sent, so it watches only calls that are not timed.
class PaintCounter {
 public:
  struct Paints {
    int count = 0;
    double pixels = 0;
  };
  PaintCounter() { hook_ = SetWindowsHookExW(WH_CALLWNDPROC, &PaintCounter::Hook, nullptr, GetCurrentThreadId()); }
  ~PaintCounter() { UnhookWindowsHookEx(hook_); }
  static std::map<std::wstring, Paints>& Counts() {
    static std::map<std::wstring, Paints> counts;
    return counts;
  }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_PAINT) {
      wchar_t name[64] = L"";
      GetClassNameW(message->hwnd, name, 64);
      Paints& paints = Counts()[name];
      ++paints.count;
      for (const grid::Rect& piece : grid::win32::UpdateRegion(message->hwnd).Rects())
        paints.pixels += static_cast<double>(piece.right - piece.left) * (piece.bottom - piece.top);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_;
};

// The baseline's balloon goes to an icon of its own, so that the window's icon is left alone.
class BaselineBalloon {
 public:
  BaselineBalloon() {
    window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    data_.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data_.hWnd = window_;
    data_.uID = 77;
    data_.uFlags = NIF_ICON | NIF_TIP;
    data_.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
    lstrcpynW(data_.szTip, L"Test", 64);
    Shell_NotifyIconW(NIM_ADD, &data_);
  }
  ~BaselineBalloon() {
    Shell_NotifyIconW(NIM_DELETE, &data_);
    DestroyWindow(window_);
  }
  void Show(int count) {
    data_.uFlags = NIF_INFO;
    data_.dwInfoFlags = NIIF_INFO;
    data_.uTimeout = 10000;
    lstrcpynW(data_.szInfoTitle, (monitor::texts::BalloonTitlePrefix + std::to_wstring(count)).c_str(), 64);
    lstrcpynW(data_.szInfo, L"05321234567", 256);
    Shell_NotifyIconW(NIM_MODIFY, &data_);
  }

 private:
  HWND window_;
  NOTIFYICONDATAW data_{};
};

// Calls come seconds apart: each is timed once the last one's work is done, its beep
// ended and the messages it left handed out.
void Quiet(tray::TApplication& application) {
  application.ProcessMessages();
  Sleep(20);
  application.ProcessMessages();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int calls = argc > 1 ? std::max(kRows, _wtoi(argv[1])) : 300;
  tray::TApplication application(L"Test");
  TimedParts parts(TimedParts::RealShell);
  monitor::win32::TForm1 form(parts, application);
  application.ProcessMessages();
  HWND window = form.Handle();
  HWND grid = form.Control(L"TextGrid1");
  for (int i = 0; i < kRows; ++i) ReportCall(parts, *form.Handlers().Tevrin51());  // a full list, as in use
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  application.ProcessMessages();

  // Calls and baselines take turns, so that the machine's changes of speed fall on both alike.
  BaselineBalloon balloon;
  std::vector<double> call, baseline;
  const int balloonsBefore = parts.balloons;
  for (int i = 0; i < calls; ++i) {
    double start = Microseconds();
    ReportCall(parts, *form.Handlers().Tevrin51());
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    call.push_back(Microseconds() - start);
    Quiet(application);
    start = Microseconds();
    InvalidateRect(grid, nullptr, FALSE);
    balloon.Show(i);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    baseline.push_back(Microseconds() - start);
    Quiet(application);
  }
  const int balloons = parts.balloons - balloonsBefore;
  {
    PaintCounter counter;
    for (int i = 0; i < kCountedCalls; ++i) {
      ReportCall(parts, *form.Handlers().Tevrin51());
      RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      Quiet(application);
    }
  }
  const auto paints = PaintCounter::Counts();
  std::vector<double> repaint;
  for (int i = 0; i < calls; ++i) {
    const double start = Microseconds();
    InvalidateRect(grid, nullptr, FALSE);
    UpdateWindow(grid);
    repaint.push_back(Microseconds() - start);
  }
  const double c = Median(call), b = Median(baseline);
  common::bench::PrintRatio("one call in Test.exe", c, "grid repaint + balloon", b, "us", 1.5,
                            common::bench::Format("medians of %d", calls));
  RECT gridClient;
  GetClientRect(grid, &gridClient);
  const double gridPixels = static_cast<double>(gridClient.right) * gridClient.bottom;
  std::printf("  the grid's repaint alone: %.1f us; per call: %.2f balloons;", Median(repaint),
              static_cast<double>(balloons) / calls);
  if (paints.empty()) std::printf(" no window is sent a paint message,");
  for (const auto& [name, painted] : paints)
    std::printf(" %ls %.2f paints of %.0f pixels%s,", name.c_str(), static_cast<double>(painted.count) / kCountedCalls,
                painted.pixels / std::max(painted.count, 1),
                name == L"TTextGrid"
                    ? common::bench::Format(" (%.0f %% of the grid)", 100 * painted.pixels / painted.count / gridPixels).c_str()
                    : "");
  std::printf("\n");
  return balloons == calls ? 0 : 1;
}
