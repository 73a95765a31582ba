// TNotifyIcon: the shell's notifications, click versus double click, the pointer's enter and
// exit, the menu and icon cycling.
#include "tray/notify_icon.h"

#include "tray/tray_icon_handler.h"

namespace tray {
namespace {

bool IsBalloonNotification(ShellNotification notification) {
  switch (notification) {
    case ShellNotification::BalloonShow:
    case ShellNotification::BalloonHide:
    case ShellNotification::BalloonTimeout:
    case ShellNotification::BalloonUserClick:
      return true;
    default:
      return false;
  }
}

ShiftState ButtonShift(MouseButton button) {
  switch (button) {
    case MouseButton::Left:
      return ssLeft;
    case MouseButton::Right:
      return ssRight;
    case MouseButton::Middle:
      return ssMiddle;
  }
  return ssNone;
}

}  // namespace

void TNotifyIcon::HandleNotification(ShellNotification notification) {
  if (!enabled_ && !IsBalloonNotification(notification)) return;
  switch (notification) {
    case ShellNotification::MouseMove:
      return PointerMoved();
    case ShellNotification::LeftButtonDown:
      return LeftButtonDown();
    case ShellNotification::LeftButtonUp:
      return LeftButtonUp();
    case ShellNotification::LeftDoubleClick:
      return LeftDoubleClick();
    case ShellNotification::RightButtonDown:
      return RightButtonDown();
    case ShellNotification::RightButtonUp:
      if (shellBehaviour_ == 0) ButtonEvent(ButtonAction::Up, MouseButton::Right);
      return;
    case ShellNotification::ContextMenu:
    case ShellNotification::Select:
    case ShellNotification::KeySelect:
      if (shellBehaviour_ == 1) ButtonEvent(ButtonAction::Up, MouseButton::Right);
      return;
    case ShellNotification::MiddleButtonDown:
      return ButtonEvent(ButtonAction::Down, MouseButton::Middle);
    case ShellNotification::MiddleButtonUp:
      return ButtonEvent(ButtonAction::Up, MouseButton::Middle);
    case ShellNotification::RightDoubleClick:
    case ShellNotification::MiddleDoubleClick:
      return;
    case ShellNotification::BalloonShow:
      return OnBalloonHintShow(*this);
    case ShellNotification::BalloonHide:
      return OnBalloonHintHide(*this);
    case ShellNotification::BalloonTimeout:
      return OnBalloonHintTimeout(*this);
    case ShellNotification::BalloonUserClick:
      return OnBalloonHintClick(*this);
  }
}

// Fires mouse down or up through the overridable dispatch, with the pointer read now.
void TNotifyIcon::ButtonEvent(ButtonAction action, MouseButton button) {
  const Point at = host_.CursorPos();
  const ShiftState shift = host_.PressedModifiers() | ButtonShift(button);
  if (action == ButtonAction::Down)
    MouseDown(button, shift, at.x, at.y);
  else
    MouseUp(button, shift, at.x, at.y);
}

void TNotifyIcon::PointerMoved() {
  const Point at = host_.CursorPos();
  if (wantEnterExit_ && pointerOutside_) {
    MouseEnter();
    pointerOutside_ = false;
  }
  MouseMove(host_.PressedModifiers(), at.x, at.y);
  lastPointer_ = at;
}

void TNotifyIcon::LeftButtonDown() {
  if (OnDblClick.Assigned()) {
    clickDelayTimer_->SetInterval(host_.DoubleClickTime());
    clickDelayTimer_->SetEnabled(true);
  }
  ButtonEvent(ButtonAction::Down, MouseButton::Left);
  leftButtonDown_ = true;
  if (leftPopup_ && MenuPopsUpByItself()) {
    handler_.Window().BringToForeground();
    PopupAtCursor();
  }
}

void TNotifyIcon::LeftButtonUp() {
  if (leftButtonDown_) {
    clickPending_ = true;
    if (!clickDelayTimer_->Enabled()) {
      leftButtonDown_ = false;
      clickPending_ = false;
      Click();
    }
  }
  leftButtonDown_ = false;
  ButtonEvent(ButtonAction::Up, MouseButton::Left);
}

void TNotifyIcon::LeftDoubleClick() {
  clickPending_ = false;
  doubleClickSeen_ = true;
  DblClick();
  if (MenuPopsUpByItself() && !leftPopup_) popupMenu_->ClickDefaultItem();
}

void TNotifyIcon::RightButtonDown() {
  ButtonEvent(ButtonAction::Down, MouseButton::Right);
  if (MenuPopsUpByItself()) {
    handler_.Window().BringToForeground();
    PopupAtCursor();
  }
}

bool TNotifyIcon::MenuPopsUpByItself() const { return popupMenu_ && popupMenu_->AutoPopup(); }

void TNotifyIcon::PopupAtCursor() {
  const Point at = host_.CursorPos();
  if (!popupMenu_) return;
  handler_.Window().BringToForeground();
  host_.ProcessMessages();
  // Messages processed just now may have removed the menu.
  if (!popupMenu_) return;
  popupMenu_->SetPopupComponent(this);
  popupMenu_->Popup(at);
  if (host_.OwnerIsWindowControl()) host_.PostOwnerNullMessage();
}

// Timers.

void TNotifyIcon::ClickTimeout(TWindowTimer&) {
  clickDelayTimer_->SetEnabled(false);
  if (!doubleClickSeen_ && clickPending_) {
    clickPending_ = false;
    Click();
  }
  doubleClickSeen_ = false;
}

void TNotifyIcon::ExitCheck(TWindowTimer&) {
  if (pointerOutside_) return;
  if (host_.CursorPos() == lastPointer_) return;
  pointerOutside_ = true;
  MouseExit();
}

void TNotifyIcon::CycleStep(TWindowTimer&) {
  if (!iconList_ || iconList_->Count() <= 0) return;
  const int count = iconList_->Count();
  if (iconIndex_ >= count) iconIndex_ = count - 1;
  icon_->Assign(iconList_->GetIcon(iconIndex_));
  const int next = iconIndex_ + 1 >= count ? 0 : iconIndex_ + 1;
  DoCycle(next);
  // The handler may have replaced or removed the list.
  iconIndex_ = iconList_ && next < iconList_->Count() ? next : 0;
}

// Overridable event dispatch.

void TNotifyIcon::Click() { OnClick(*this); }
void TNotifyIcon::DblClick() { OnDblClick(*this); }
void TNotifyIcon::DoCycle(int nextIndex) { OnCycle(*this, nextIndex); }
void TNotifyIcon::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
  OnMouseDown(*this, button, shift, x, y);
}
void TNotifyIcon::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
  OnMouseUp(*this, button, shift, x, y);
}
void TNotifyIcon::MouseMove(ShiftState shift, int x, int y) { OnMouseMove(*this, shift, x, y); }
void TNotifyIcon::MouseEnter() { OnMouseEnter(*this); }
void TNotifyIcon::MouseExit() { OnMouseExit(*this); }

}  // namespace tray
