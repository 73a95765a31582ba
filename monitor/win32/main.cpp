// Test.exe: the line monitor. The user-interface thread is a single-threaded apartment, as
// the device control needs; the one window runs until it is closed.
#include <windows.h>

#include <ole2.h>

#include "monitor/win32/event_log.h"
#include "monitor/win32/form1_window.h"
#include "monitor/win32/program_parts.h"
#include "monitor/win32/single_instance.h"
#include "tray/win32/application.h"

namespace {

int RunProgram() {
  const monitor::win32::SingleInstance instance;
  if (instance.AnotherRuns()) return 0;
  tray::TApplication application(L"Test");
  application.SetOnException(tray::TApplication::ExceptionEvent(
      [](tray::TApplication&, std::exception_ptr failure) {
        monitor::win32::WriteToEventLog(L"CallerIdMonitor", L"Test.exe went on after a failure", failure);
        monitor::win32::TForm1::ApplicationEvents1Exception(failure);
      }));
  monitor::win32::ProgramParts parts;
  monitor::win32::TForm1 form(parts, application);
  return application.Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const HRESULT apartment = OleInitialize(nullptr);
  int exitCode = 1;
  try {
    exitCode = RunProgram();
  } catch (...) {
    // Without its window there is nothing to show and nobody to tell.
  }
  if (SUCCEEDED(apartment)) OleUninitialize();
  return exitCode;
}
