// TWin32NotifyIcon: a tray icon on Windows, TNotifyIcon together with its Win32 host.
//
//   TWin32NotifyIcon trayIcon(app, form, TNotifyIcon::Loading::Yes);
//   trayIcon.SetIcon(SharedIcon(LoadIconW(instance, MAKEINTRESOURCEW(1))));
//   trayIcon.SetPopupMenu(&popupMenu);
//   trayIcon.SetIconVisible(true);
//   trayIcon.Loaded();
//   ...
//   trayIcon.ShowBalloonHint(L"Çağrı: 1", number, BalloonIcon::Info, 10);
#pragma once

#include <utility>

#include "tray/notify_icon.h"
#include "tray/win32/tray_host_win32.h"

namespace tray {

namespace detail {
// Built before the icon and destroyed after it, as the icon uses its host to the end.
struct Win32TrayHostHolder {
  Win32TrayHost host;
};
}  // namespace detail

class TWin32NotifyIcon : private detail::Win32TrayHostHolder, public TNotifyIcon {
 public:
  TWin32NotifyIcon(TApplication& application, HWND owner, Loading loading = Loading::No,
                   ShellNotifier shell = ShellNotifyIcon)
      : detail::Win32TrayHostHolder{Win32TrayHost(application, owner, std::move(shell))},
        TNotifyIcon(host, loading) {}
};

}  // namespace tray
