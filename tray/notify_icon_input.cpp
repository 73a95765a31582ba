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
      return Raise(OnBalloonHintShow, *this);
    case ShellNotification::BalloonHide:
      return Raise(OnBalloonHintHide, *this);
    case ShellNotification::BalloonTimeout:
      return Raise(OnBalloonHintTimeout, *this);
    case ShellNotification::BalloonUserClick:
      return Raise(OnBalloonHintClick, *this);
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
    if (!Survives([this] { MouseEnter(); })) return;
    pointerOutside_ = false;
  }
  if (!Survives([&] { MouseMove(host_.PressedModifiers(), at.x, at.y); })) return;
  lastPointer_ = at;
}

void TNotifyIcon::LeftButtonDown() {
  if (OnDblClick.Assigned()) {
    clickDelayTimer_->SetInterval(host_.DoubleClickTime());
    clickDelayTimer_->SetEnabled(true);
  }
  if (!Survives([this] { ButtonEvent(ButtonAction::Down, MouseButton::Left); })) return;
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
      if (!Survives([this] { Click(); })) return;
    }
  }
  leftButtonDown_ = false;
  ButtonEvent(ButtonAction::Up, MouseButton::Left);
}

void TNotifyIcon::LeftDoubleClick() {
  clickPending_ = false;
  doubleClickSeen_ = true;
  if (!Survives([this] { DblClick(); })) return;
  if (MenuPopsUpByItself() && !leftPopup_) popupMenu_->ClickDefaultItem();
}

void TNotifyIcon::RightButtonDown() {
  if (!Survives([this] { ButtonEvent(ButtonAction::Down, MouseButton::Right); })) return;
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
  // The messages handed out now, and those the open menu hands out, may remove the menu or
  // close the window that owns this icon, and the icon with it.
  if (!Survives([this] { host_.ProcessMessages(); }) || !popupMenu_) return;
  popupMenu_->SetPopupComponent(this);
  if (!Survives([this, &at] { popupMenu_->Popup(at); })) return;
  if (host_.OwnerIsWindowControl()) host_.PostOwnerNullMessage();
}

// Timers.

void TNotifyIcon::ClickTimeout(TWindowTimer&) {
  clickDelayTimer_->SetEnabled(false);
  if (!doubleClickSeen_ && clickPending_) {
    clickPending_ = false;
    if (!Survives([this] { Click(); })) return;
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
  if (!Survives([this, next] { DoCycle(next); })) return;
  // The handler may have replaced or removed the list.
  iconIndex_ = iconList_ && next < iconList_->Count() ? next : 0;
}

// Overridable event dispatch.

void TNotifyIcon::Click() { Raise(OnClick, *this); }
void TNotifyIcon::DblClick() { Raise(OnDblClick, *this); }
void TNotifyIcon::DoCycle(int nextIndex) { Raise(OnCycle, *this, nextIndex); }
void TNotifyIcon::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
  Raise(OnMouseDown, *this, button, shift, x, y);
}
void TNotifyIcon::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
  Raise(OnMouseUp, *this, button, shift, x, y);
}
void TNotifyIcon::MouseMove(ShiftState shift, int x, int y) { Raise(OnMouseMove, *this, shift, x, y); }
void TNotifyIcon::MouseEnter() { Raise(OnMouseEnter, *this); }
void TNotifyIcon::MouseExit() { Raise(OnMouseExit, *this); }

}  // namespace tray
