// Recording fakes of what the tray icon needs of the system: the host (shell, input,
// application, owner), the hidden window, an image list and a popup menu. Every call they
// receive goes, in order, into one log.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tray/image_list.h"
#include "tray/popup_menu.h"
#include "tray/tray_host.h"

namespace tray::testing {

// The calls of the fakes in the order they came, e.g. "shell Modify", "foreground tray".
std::vector<std::string>& CallLog();
// The handle the fake hidden window reports.
inline constexpr std::uintptr_t kFakeTrayWindow = 0x7a7;

struct ShellCall {
  ShellCommand command;
  NotifyIconRecord record;
};

class FakeTrayHost : public TrayHost {
 public:
  std::vector<ShellCall> shellCalls;
  bool shellAccepts = true;
  Point cursor{10, 20};
  ShiftState modifiers = ssNone;
  std::uint32_t doubleClickTime = 437;
  bool ownerIsWindowControl = true;
  bool hasMainForm = true;
  bool mainFormIsMdiFrame = false;
  bool mainFormMinimized = false;
  bool applicationWindowVisible = false;
  TNotifyIcon* hookedIcon = nullptr;
  TNotifyIcon* ownerSubclassedFor = nullptr;
  std::function<void()> duringProcessMessages;

  std::vector<ShellCall> CallsOf(ShellCommand command) const;

  bool NotifyShell(ShellCommand command, const NotifyIconRecord& record) override;
  Point CursorPos() override { return cursor; }
  ShiftState PressedModifiers() override { return modifiers; }
  std::uint32_t DoubleClickTime() override { return doubleClickTime; }
  void ProcessMessages() override;
  bool HasMainForm() override { return hasMainForm; }
  bool MainFormIsMdiFrame() override { return mainFormIsMdiFrame; }
  bool MainFormMinimized() override { return mainFormMinimized; }
  void HideMainFormWindow() override { CallLog().push_back("hide main form"); }
  void RestoreMainFormWindow() override { CallLog().push_back("restore main form"); }
  void ShowMainFormWindow() override { CallLog().push_back("show main form"); }
  void CancelShowMainForm() override { CallLog().push_back("cancel show main form"); }
  bool ApplicationWindowVisible() override { return applicationWindowVisible; }
  void HideApplicationWindow() override { CallLog().push_back("hide application"); }
  void BringApplicationToForeground() override { CallLog().push_back("foreground application"); }
  void HookApplicationWindow(TNotifyIcon& icon) override;
  void UnhookApplicationWindow(TNotifyIcon& icon) override;
  bool OwnerIsWindowControl() override { return ownerIsWindowControl; }
  void SubclassOwner(TNotifyIcon& icon) override;
  void RestoreOwnerProcedure(TNotifyIcon& icon) override;
  void BringOwnerToForeground() override { CallLog().push_back("foreground owner"); }
  void PostOwnerNullMessage() override { CallLog().push_back("post owner null"); }
};

class FakeImageList : public ImageList {
 public:
  explicit FakeImageList(int count) : count_(count) {}
  int Count() const override { return count_; }
  // Icon i has the handle 0x100 + i; handed-out copies are counted until released.
  IconHandle GetIcon(int index) const override;
  static std::uintptr_t HandleOf(int index) { return 0x100 + static_cast<std::uintptr_t>(index); }
  int LiveCopies() const { return *live_; }

 private:
  int count_;
  std::shared_ptr<int> live_ = std::make_shared<int>(0);
};

class FakePopupMenu : public PopupMenu {
 public:
  bool autoPopup = true;
  const void* popupComponent = nullptr;
  int defaultItemClicks = 0;
  std::function<void()> duringPopup;

  bool AutoPopup() const override { return autoPopup; }
  void SetPopupComponent(const void* component) override { popupComponent = component; }
  void Popup(Point at) override;
  void ClickDefaultItem() override { ++defaultItemClicks; }
};

}  // namespace tray::testing
