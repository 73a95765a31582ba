// The tray icons' shared hidden window handler and the process-wide variable that holds it.
#include "tray/tray_icon_handler.h"

#include "tray/notify_icon.h"

namespace tray {

using TrayHandlerSlot = SharedHandlerSlot<TTrayIconHandler>;

TTrayIconHandler::TTrayIconHandler() { SetWindow(CreateTrayWindow(*this)); }

void TTrayIconHandler::Dispatch(std::uintptr_t identifier, ShellNotification notification) {
  if (TNotifyIcon* icon = FindUser(identifier)) icon->HandleNotification(notification);
}

TTrayIconHandler* TrayIconHandler() noexcept { return TrayHandlerSlot::Get(); }
TTrayIconHandler& AttachTrayWindow(TNotifyIcon& icon) { return TrayHandlerSlot::Attach(icon); }
void DetachTrayWindow(TNotifyIcon& icon) { TrayHandlerSlot::Detach(icon); }

}  // namespace tray
