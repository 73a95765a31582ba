// A small program that shows a tray icon with its menu and a call balloon, to look at in a
// virtual desktop: wine explorer /desktop=tray,800x600 tray_demo.exe [seconds]
#include <windows.h>

#include <cwchar>

#include "tray/win32/application.h"
#include "tray/win32/icon_win32.h"
#include "tray/win32/notify_icon_win32.h"
#include "tray/win32/popup_menu_win32.h"
#include "tray/window_timer.h"

using namespace tray;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  const int seconds = *commandLine ? _wtoi(commandLine) : 30;
  TApplication application(L"Test");
  application.SetShowMainForm(false);

  TPopupMenu menu;
  menu.Add(L"Listeyi sil", {});
  menu.Add(L"\u00c7\u0131k\u0131\u015f", TMenuItem::ClickEvent([&](TMenuItem&) { application.Terminate(); }));

  TWin32NotifyIcon trayIcon(application, nullptr, TNotifyIcon::Loading::Yes);
  trayIcon.SetIcon(SharedIcon(LoadIconW(nullptr, IDI_INFORMATION)));
  trayIcon.SetHint(L"Test: Ba\u011flant\u0131 tamam");
  trayIcon.SetPopupMenu(&menu);
  trayIcon.SetWantEnterExitEvents(true);
  trayIcon.SetIconVisible(true);
  trayIcon.Loaded();
  trayIcon.ShowBalloonHint(L"\u00c7a\u011fr\u0131: 1", L"05321234567", BalloonIcon::Info, 10);

  TWindowTimer end(static_cast<std::uint32_t>(seconds) * 1000u,
                   TWindowTimer::TimerEvent([&](TWindowTimer&) { application.Terminate(); }));
  end.SetEnabled(true);
  return application.Run();
}
