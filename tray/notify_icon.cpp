// TNotifyIcon: creation and destruction, properties, and the calls to the shell.
#include "tray/notify_icon.h"

#include <utility>

#include "tray/tray_icon_handler.h"

namespace tray {
namespace {

constexpr std::uint32_t kPlainFlags = nifMessage | nifIcon | nifTip;
constexpr std::uint32_t kPointerExitInterval = 20;
constexpr std::uint32_t kClassicVersion = 0;
constexpr std::uint32_t kVersion5Notifications = 3;

}  // namespace

TNotifyIcon::TNotifyIcon(TrayHost& host, Loading loading)
    : host_(host), loading_(loading == Loading::Yes), handler_(AttachTrayWindow(*this)) {
  icon_ = std::make_unique<TIcon>();
  icon_->OnChange = TIcon::ChangeEvent(this, &TNotifyIcon::IconChanged);
  FillIconData();
  iconCycleTimer_ = std::make_unique<TWindowTimer>(
      1000, TWindowTimer::TimerEvent(this, &TNotifyIcon::CycleStep));
  clickDelayTimer_ = std::make_unique<TWindowTimer>(
      1000, TWindowTimer::TimerEvent(this, &TNotifyIcon::ClickTimeout));
  pointerExitTimer_ = std::make_unique<TWindowTimer>(
      kPointerExitInterval, TWindowTimer::TimerEvent(this, &TNotifyIcon::ExitCheck));
  host_.HookApplicationWindow(*this);
  if (host_.OwnerIsWindowControl()) host_.SubclassOwner(*this);
}

TNotifyIcon::~TNotifyIcon() {
  *alive_ = false;
  HideIcon();
  iconCycleTimer_.reset();
  clickDelayTimer_.reset();
  pointerExitTimer_.reset();
  icon_.reset();
  host_.UnhookApplicationWindow(*this);
  if (host_.OwnerIsWindowControl()) host_.RestoreOwnerProcedure(*this);
  DetachTrayWindow(*this);
}

void TNotifyIcon::FillIconData() {
  iconData_.window = handler_.Window().Handle();
  iconData_.identifier = Identifier();
  iconData_.flags = kPlainFlags;
  iconData_.callbackMessage = TrayCallbackMessage;
}

void TNotifyIcon::Loaded() {
  loading_ = false;
  DecideStartup();
  ModifyIcon();
  if (iconVisible_)
    ShowIcon();
  else
    HideIcon();
  ApplyCycleIcons();
  ApplyEnterExitEvents();
  iconData_.timeoutOrVersion = shellBehaviour_ == 1 ? kVersion5Notifications : kClassicVersion;
  host_.NotifyShell(ShellCommand::SetVersion, iconData_);
}

// Shell calls.

void TNotifyIcon::PrepareIconData() {
  iconData_.icon = icon_ ? icon_->NativeHandle() : 0;
  iconData_.tip = !hint_.empty() && showHint_ ? CutText(hint_, kMaxTipLength) : std::wstring();
}

// A modification leaves out the icon and the tip when the shell already holds them: reading
// an icon is the dearest thing the shell does for a call, many times a balloon's cost.
bool TNotifyIcon::SendToShell(ShellCommand command) {
  PrepareIconData();
  const std::uint32_t flags = iconData_.flags;
  if (command == ShellCommand::Modify && shellHolds_ && shellHolds_->icon == iconData_.icon &&
      shellHolds_->tip == iconData_.tip)
    iconData_.flags &= ~(nifIcon | nifTip);
  const bool accepted = host_.NotifyShell(command, iconData_);
  const bool handedBoth = (iconData_.flags & (nifIcon | nifTip)) == (nifIcon | nifTip);
  iconData_.flags = flags;
  if (!accepted || command == ShellCommand::Delete)
    shellHolds_.reset();
  else if (handedBoth)
    shellHolds_ = ShellCopy{iconData_.icon, iconData_.tip};
  return accepted;
}

bool TNotifyIcon::ShowIcon() {
  iconVisible_ = true;
  return SendToShell(ShellCommand::Add);
}

bool TNotifyIcon::HideIcon() {
  iconVisible_ = false;
  return SendToShell(ShellCommand::Delete);
}

bool TNotifyIcon::ModifyIcon() { return SendToShell(ShellCommand::Modify); }

void TNotifyIcon::HideBalloonHint() {
  iconData_.flags |= nifInfo;
  iconData_.balloonText.clear();
  ModifyIcon();
}

bool TNotifyIcon::ShowBalloonHint(std::wstring_view title, std::wstring_view text,
                                  BalloonIcon icon, std::uint8_t timeoutSeconds) {
  HideBalloonHint();
  iconData_.balloonText = CutText(text, kMaxBalloonTextLength);
  iconData_.balloonTitle = CutText(title, kMaxBalloonTitleLength);
  iconData_.timeoutOrVersion = timeoutSeconds * 1000u;
  iconData_.balloonIcon = icon;
  const bool accepted = ModifyIcon();
  // Later modifications must not show the balloon again.
  iconData_.flags = kPlainFlags;
  return accepted;
}

// Properties.

void TNotifyIcon::IconChanged(TIcon&) {
  shellHolds_.reset();  // the same handle may now hold another picture
  Changed();
}

void TNotifyIcon::Changed() {
  if (!loading_) ModifyIcon();
}

void TNotifyIcon::SetHint(std::wstring hint) {
  if (hint == hint_) return;
  hint_ = std::move(hint);
  Changed();
}

void TNotifyIcon::SetShowHint(bool show) {
  if (show == showHint_) return;
  showHint_ = show;
  Changed();
}

void TNotifyIcon::SetIconVisible(bool visible) {
  if (visible == iconVisible_) return;
  iconVisible_ = visible;
  if (loading_) return;
  if (visible)
    ShowIcon();
  else
    HideIcon();
}

void TNotifyIcon::SetIconList(ImageList* list) {
  if (list == iconList_) return;
  if (iconList_) RemoveFreeNotification(*iconList_);
  iconList_ = list;
  iconListLink_ = list;
  if (iconList_) FreeNotification(*iconList_);
  SelectListIcon(0);
}

void TNotifyIcon::SetIconIndex(std::int32_t index) {
  if (index == iconIndex_) return;
  SelectListIcon(index);
}

// With a list, the index stays within it and its icon is shown; without one it is 0.
void TNotifyIcon::SelectListIcon(std::int32_t index) {
  const int count = iconList_ ? iconList_->Count() : 0;
  if (index >= count) index = count - 1;
  if (index < 0) index = 0;
  iconIndex_ = index;
  if (count > 0)
    icon_->Assign(iconList_->GetIcon(index));
  else
    Changed();
}

void TNotifyIcon::SetCycleIcons(bool cycle) {
  if (cycle == cycleIcons_) return;
  cycleIcons_ = cycle;
  if (!loading_) ApplyCycleIcons();
}

void TNotifyIcon::SetCycleInterval(std::uint32_t interval) {
  if (interval == cycleInterval_) return;
  cycleInterval_ = interval;
  if (!loading_) ApplyCycleIcons();
}

void TNotifyIcon::ApplyCycleIcons() {
  if (cycleIcons_) {
    iconIndex_ = 0;
    iconCycleTimer_->SetInterval(cycleInterval_);
    iconCycleTimer_->SetEnabled(true);
  } else {
    iconCycleTimer_->SetEnabled(false);
  }
}

void TNotifyIcon::SetWantEnterExitEvents(bool want) {
  if (want == wantEnterExit_) return;
  wantEnterExit_ = want;
  if (!loading_) ApplyEnterExitEvents();
}

void TNotifyIcon::ApplyEnterExitEvents() { pointerExitTimer_->SetEnabled(wantEnterExit_); }

void TNotifyIcon::SetPopupMenu(tray::PopupMenu* menu) {
  if (menu == popupMenu_) return;
  if (popupMenu_) RemoveFreeNotification(*popupMenu_);
  popupMenu_ = menu;
  popupMenuLink_ = menu;
  if (popupMenu_) FreeNotification(*popupMenu_);
}

void TNotifyIcon::Notification(TComponent& component, Operation operation) {
  if (operation != Operation::Remove) return;
  // Compared as components: the rest of the object is already gone.
  if (&component == iconListLink_) {
    iconList_ = nullptr;
    iconListLink_ = nullptr;
    iconIndex_ = 0;
  }
  if (&component == popupMenuLink_) {
    popupMenu_ = nullptr;
    popupMenuLink_ = nullptr;
  }
}

}  // namespace tray
