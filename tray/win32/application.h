// TApplication: the least of an application object that the program's windows and its tray
// icon need, as plain Win32 has none.
//
// - A hidden top-level application window carrying the title. Hooks see every message it gets
//   (the shell's "TaskbarCreated" broadcast among them) and never consume one. The window
//   stands for the whole application: minimizing the main form minimizes the application, so
//   the hooks hear that as the window's own minimize; Restore is its restore command.
// - The main form: the program's one main window, shown by Run unless ShowMainForm was turned
//   off before (a tray icon's OnStartup can do so).
// - ProcessMessages, Run and Terminate, and OnException: the one handler of every failure
//   caught at a window procedure or timer callback (without one, failures are discarded).
//
// Use, on the user-interface thread:
//   TApplication app(L"Test");
//   app.SetOnException(...);           // optional
//   HWND form = ...;                   // create the main window, hidden
//   app.SetMainForm(form);
//   TWin32NotifyIcon icon(app, form, TNotifyIcon::Loading::Yes);  // set properties, then
//   icon.Loaded();
//   return app.Run();                  // until WM_QUIT (the main window posts it when destroyed)
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/event.h"

namespace tray {

inline constexpr wchar_t kApplicationWindowClass[] = L"TApplicationWindow";

class TApplication {
 public:
  using Hook = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;
  using HookId = int;
  using ExceptionEvent = common::Event<TApplication&, std::exception_ptr>;

  explicit TApplication(std::wstring title);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  HWND Handle() const noexcept { return window_; }
  const std::wstring& Title() const noexcept { return title_; }

  HWND MainForm() const noexcept { return mainForm_; }
  void SetMainForm(HWND form);
  bool ShowMainForm() const noexcept { return showMainForm_; }
  void SetShowMainForm(bool show) noexcept { showMainForm_ = show; }
  bool Terminated() const noexcept { return terminated_; }

  HookId HookMainWindow(Hook hook);
  void UnhookMainWindow(HookId id);

  void SetOnException(ExceptionEvent handler);

  // Handles every message waiting, then returns; a WM_QUIT among them ends the application.
  void ProcessMessages();
  // Shows the main form unless told not to, then handles messages until the application ends.
  // Returns the exit code of WM_QUIT.
  int Run();
  void Terminate();
  // The application's restore command (a tray icon then brings its main form back).
  void Restore();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK MainFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR application);
  void RunHooks(UINT message, WPARAM wParam, LPARAM lParam);
  bool HandleMessage(const MSG& message);

  std::wstring title_;
  HWND window_ = nullptr;
  HWND mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool terminated_ = false;
  int exitCode_ = 0;
  std::vector<std::pair<HookId, Hook>> hooks_;
  HookId nextHookId_ = 1;
  ExceptionEvent onException_;
};

}  // namespace tray
