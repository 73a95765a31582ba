// The recording fakes of the tray icon's system, and the fake hidden window that replaces the
// system's in native tests.
#include "tray/tests/fake_tray.h"

#include "tray/tray_icon_handler.h"
#include "tray/tray_window.h"

namespace tray {
namespace testing {

std::vector<std::string>& CallLog() {
  static std::vector<std::string> log;
  return log;
}

namespace {

const char* CommandName(ShellCommand command) {
  switch (command) {
    case ShellCommand::Add:
      return "Add";
    case ShellCommand::Modify:
      return "Modify";
    case ShellCommand::Delete:
      return "Delete";
    case ShellCommand::SetVersion:
      return "SetVersion";
  }
  return "?";
}

class FakeTrayWindow : public TrayWindow {
 public:
  std::uintptr_t Handle() const override { return kFakeTrayWindow; }
  void BringToForeground() override { CallLog().push_back("foreground tray"); }
};

}  // namespace

std::vector<ShellCall> FakeTrayHost::CallsOf(ShellCommand command) const {
  std::vector<ShellCall> calls;
  for (const auto& call : shellCalls)
    if (call.command == command) calls.push_back(call);
  return calls;
}

bool FakeTrayHost::NotifyShell(ShellCommand command, const NotifyIconRecord& record) {
  CallLog().push_back(std::string("shell ") + CommandName(command));
  shellCalls.push_back({command, record});
  return shellAccepts;
}

void FakeTrayHost::ProcessMessages() {
  CallLog().push_back("process messages");
  if (duringProcessMessages) duringProcessMessages();
}

void FakeTrayHost::HookApplicationWindow(TNotifyIcon& icon) {
  CallLog().push_back("hook application");
  hookedIcon = &icon;
}

void FakeTrayHost::UnhookApplicationWindow(TNotifyIcon&) {
  CallLog().push_back("unhook application");
  hookedIcon = nullptr;
}

void FakeTrayHost::SubclassOwner(TNotifyIcon& icon) {
  CallLog().push_back("subclass owner");
  ownerSubclassedFor = &icon;
}

void FakeTrayHost::RestoreOwnerProcedure(TNotifyIcon&) {
  CallLog().push_back("restore owner procedure");
  ownerSubclassedFor = nullptr;
}

IconHandle FakeImageList::GetIcon(int index) const {
  ++*live_;
  auto live = live_;
  return IconHandle(reinterpret_cast<void*>(HandleOf(index)), [live](void*) { --*live; });
}

void FakePopupMenu::Popup(Point at) {
  CallLog().push_back("popup at " + std::to_string(at.x) + "," + std::to_string(at.y));
  if (duringPopup) duringPopup();
}

}  // namespace testing

std::unique_ptr<TrayWindow> CreateTrayWindow(TTrayIconHandler&) {
  testing::CallLog().push_back("create tray window");
  return std::make_unique<testing::FakeTrayWindow>();
}

}  // namespace tray
