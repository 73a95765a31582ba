// TNotifyIcon: one icon in the shell's notification area, with its tool-tip, balloons, menu
// and icon cycling, turning the shell's notifications into component events.
//
// All icons of the process share one hidden window (TTrayIconHandler). The system is reached
// through a TrayHost; on Windows use TWin32NotifyIcon (win32/notify_icon_win32.h), which
// brings its own host. A component read from a window description is created with
// Loading::Yes, given its properties, then told Loaded(); until then the settings are only
// stored. Everything runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/event.h"
#include "tray/component.h"
#include "tray/geometry.h"
#include "tray/icon.h"
#include "tray/image_list.h"
#include "tray/notify_icon_record.h"
#include "tray/popup_menu.h"
#include "tray/tray_host.h"
#include "tray/tray_window.h"
#include "tray/window_timer.h"

namespace tray {

class TNotifyIcon : public TComponent {
 public:
  using NotifyEvent = common::Event<TNotifyIcon&>;
  using MouseEvent = common::Event<TNotifyIcon&, MouseButton, ShiftState, int, int>;
  using MouseMoveEvent = common::Event<TNotifyIcon&, ShiftState, int, int>;
  using CycleEvent = common::Event<TNotifyIcon&, int>;
  using StartupEvent = common::Event<TNotifyIcon&, bool&>;

  enum class Loading { No, Yes };

  explicit TNotifyIcon(TrayHost& host, Loading loading = Loading::No);
  ~TNotifyIcon() override;

  // Published properties.
  ImageList* IconList() const noexcept { return iconList_; }
  void SetIconList(ImageList* list);
  bool CycleIcons() const noexcept { return cycleIcons_; }
  void SetCycleIcons(bool cycle);
  std::uint32_t CycleInterval() const noexcept { return cycleInterval_; }
  void SetCycleInterval(std::uint32_t interval);
  bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  const std::wstring& Hint() const noexcept { return hint_; }
  void SetHint(std::wstring hint);
  bool ShowHint() const noexcept { return showHint_; }
  void SetShowHint(bool show);
  const TIcon& Icon() const noexcept { return *icon_; }
  // Any new icon is sent to the shell at once.
  void SetIcon(IconHandle icon) { icon_->Assign(std::move(icon)); }
  bool IconVisible() const noexcept { return iconVisible_; }
  void SetIconVisible(bool visible);
  std::int32_t IconIndex() const noexcept { return iconIndex_; }
  void SetIconIndex(std::int32_t index);
  tray::PopupMenu* PopupMenu() const noexcept { return popupMenu_; }
  void SetPopupMenu(tray::PopupMenu* menu);
  bool LeftPopup() const noexcept { return leftPopup_; }
  void SetLeftPopup(bool leftPopup) { leftPopup_ = leftPopup; }
  bool WantEnterExitEvents() const noexcept { return wantEnterExit_; }
  void SetWantEnterExitEvents(bool want);
  bool MinimizeToTray() const noexcept { return minimizeToTray_; }
  void SetMinimizeToTray(bool minimize) { minimizeToTray_ = minimize; }

  // Events; the sender is always this icon. X and Y are screen positions.
  NotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseExit, OnMinimizeToTray;
  NotifyEvent OnBalloonHintShow, OnBalloonHintHide, OnBalloonHintTimeout, OnBalloonHintClick;
  MouseEvent OnMouseDown, OnMouseUp;
  MouseMoveEvent OnMouseMove;
  CycleEvent OnCycle;  // NextIndex: the index the step moves to
  StartupEvent OnStartup;

  // 0: classic notifications; 1: version-5 notifications (the right button's release comes
  // as a context-menu notification). Applied by Loaded.
  std::uint8_t ShellBehaviour() const noexcept { return shellBehaviour_; }
  void SetShellBehaviour(std::uint8_t behaviour) { shellBehaviour_ = behaviour; }

  // The icon's identifier with the shell: its own address, as much of it as the shell's 32-bit
  // identifier carries back (all of it in 32 bits).
  std::uintptr_t Identifier() const noexcept {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(this));
  }
  // The record as last prepared for the shell.
  const NotifyIconRecord& IconData() const noexcept { return iconData_; }

  // The window description has been read: applies what was only stored while loading.
  void Loaded();

  // Each returns whether the shell accepted the call.
  virtual bool ShowIcon();
  virtual bool HideIcon();
  virtual bool ModifyIcon();

  // Replaces any balloon still shown. Body, title: cut to 255 and 63 characters.
  bool ShowBalloonHint(std::wstring_view title, std::wstring_view text, BalloonIcon icon,
                       std::uint8_t timeoutSeconds);
  void HideBalloonHint();

  void PopupAtCursor();
  void HideMainForm();
  void HideTaskbarIcon();

  // What the platform translates for the icon: the shell's notifications (from the hidden
  // window), the application window's messages (from the hook) and the owner window's.
  void HandleNotification(ShellNotification notification);
  void ApplicationMinimized();
  void ApplicationPositionChanged();
  void ApplicationRestoreCommand();
  void TaskbarRecreated();
  void OwnerShown();
  // The owner is being minimized or hidden with its parent; true when the icon took it over
  // (the message then goes no further).
  bool OwnerMinimizing();

 protected:
  virtual void Click();
  virtual void DblClick();
  virtual void DoCycle(int nextIndex);
  virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y);
  virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y);
  virtual void MouseMove(ShiftState shift, int x, int y);
  virtual void MouseEnter();
  virtual void MouseExit();
  virtual void MinimizeMainFormToTray();

  void Notification(TComponent& component, Operation operation) override;

 private:
  void FillIconData();
  void PrepareIconData();
  bool SendToShell(ShellCommand command);
  void IconChanged(TIcon&);
  void Changed();
  void SelectListIcon(std::int32_t index);
  void ApplyCycleIcons();
  void ApplyEnterExitEvents();
  void DecideStartup();
  bool MenuPopsUpByItself() const;
  enum class ButtonAction { Down, Up };
  void ButtonEvent(ButtonAction action, MouseButton button);
  void PointerMoved();
  void LeftButtonDown();
  void LeftButtonUp();
  void LeftDoubleClick();
  void RightButtonDown();
  void CycleStep(TWindowTimer&);
  void ClickTimeout(TWindowTimer&);
  void ExitCheck(TWindowTimer&);

  // Runs outside code that may destroy this icon (an event handler, or the messages handed
  // out while the menu opens); true when the icon still exists afterwards.
  template <class Work>
  bool Survives(Work&& work) {
    const std::shared_ptr<const bool> alive = alive_;
    work();
    return *alive;
  }
  // On a copy, as a handler that destroys this icon destroys its event with it.
  template <class Event, class... Args>
  static void Raise(const Event& event, Args&&... args) {
    const Event handler = event;
    handler(std::forward<Args>(args)...);
  }

  TrayHost& host_;
  bool loading_;
  TTrayIconHandler& handler_;

  ImageList* iconList_ = nullptr;
  bool cycleIcons_ = false;
  std::uint32_t cycleInterval_ = 0;
  bool enabled_ = true;
  std::wstring hint_;
  bool showHint_ = true;
  std::unique_ptr<TIcon> icon_;
  bool iconVisible_ = false;
  std::int32_t iconIndex_ = 0;
  tray::PopupMenu* popupMenu_ = nullptr;
  // The list and the menu as components, for their removal notices.
  TComponent* iconListLink_ = nullptr;
  TComponent* popupMenuLink_ = nullptr;
  bool leftPopup_ = false;
  bool wantEnterExit_ = false;
  bool minimizeToTray_ = false;

  NotifyIconRecord iconData_;
  // The icon and tip the shell last accepted, while it is known to hold them.
  struct ShellCopy {
    std::uintptr_t icon;
    std::wstring tip;
  };
  std::optional<ShellCopy> shellHolds_;
  std::uint8_t shellBehaviour_ = 0;
  std::unique_ptr<TWindowTimer> iconCycleTimer_, clickDelayTimer_, pointerExitTimer_;
  bool leftButtonDown_ = false;
  bool clickPending_ = false;
  bool doubleClickSeen_ = false;
  bool pointerOutside_ = true;
  bool startupCheckPending_ = true;
  Point lastPointer_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tray
