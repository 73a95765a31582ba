// The tray icon under Wine: the records its shell calls carry, the shell's notifications
// posted to the real hidden window, real timers, the real menu, the application window's and
// the owner window's messages.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tray/win32/application.h"
#include "tray/win32/icon_win32.h"
#include "tray/win32/image_list_win32.h"
#include "tray/win32/notify_icon_win32.h"
#include "tray/win32/popup_menu_win32.h"
#include "tray/win32/taskbar_created.h"
#include "tray/win32/tests/message_pump.h"
#include "tray/win32/tests/tray_test_support.h"
#include "tray/win32/tray_window_win32.h"

namespace tray::testing {
namespace {

using ::testing::ElementsAre;

HWND HiddenTrayWindow() { return OwnWindow(nullptr, kTrayWindowClass); }

class NotifyIconWine : public ::testing::Test {
 protected:
  NotifyIconWine() : application(L"Test") {
    application.SetMainForm(owner.Handle());
    icon = std::make_unique<TWin32NotifyIcon>(application, owner.Handle(),
                                              TNotifyIcon::Loading::No, shell.Notifier());
    icon->OnClick = TNotifyIcon::NotifyEvent([this](TNotifyIcon&) { events.push_back("click"); });
    icon->OnMouseDown = TNotifyIcon::MouseEvent(
        [this](TNotifyIcon&, MouseButton button, ShiftState shift, int x, int y) {
          events.push_back("down " + std::to_string(static_cast<int>(button)) + " " +
                           std::to_string(shift) + " " + std::to_string(x) + "," +
                           std::to_string(y));
        });
  }

  // The shell sends the hidden window this when something happens at the icon.
  void ShellSends(UINT notification) {
    PostMessageW(HiddenTrayWindow(), TrayCallbackMessage, icon->Identifier(), notification);
    PumpWaitingMessages();
  }

  TApplication application;
  TestWindow owner;
  ShellRecorder shell;
  std::unique_ptr<TWin32NotifyIcon> icon;
  std::vector<std::string> events;
};

TEST_F(NotifyIconWine, RecordsHandedToTheShellAreUnicodeWithBalloonFields) {
  HICON image = MakeSolidIcon(RGB(0, 128, 255));
  icon->SetIcon(SharedIcon(image));
  icon->SetHint(L"Arayan numara \u011f\u0131\u015f\u00e7\u00f6\u00fc");
  shell.forward = true;  // the real shell takes these too
  icon->SetIconVisible(true);
  icon->ShowBalloonHint(L"\u00c7a\u011fr\u0131: 1", L"05321234567", BalloonIcon::Info, 10);
  const auto adds = shell.CallsOf(NIM_ADD);
  ASSERT_FALSE(adds.empty());
  const NOTIFYICONDATAW& added = adds.back().data;
  EXPECT_EQ(added.cbSize, NOTIFYICONDATAW_V2_SIZE);
  EXPECT_EQ(added.hWnd, HiddenTrayWindow());
  EXPECT_EQ(added.uID, static_cast<UINT>(icon->Identifier()));
  EXPECT_EQ(added.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(added.uCallbackMessage, 0x800u);
  EXPECT_EQ(added.hIcon, image);
  EXPECT_EQ(adds.back().iconColour, RGB(0, 128, 255));
  EXPECT_STREQ(added.szTip, L"Arayan numara \u011f\u0131\u015f\u00e7\u00f6\u00fc");

  const NOTIFYICONDATAW& balloon = shell.calls.back().data;
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(balloon.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_INFO));  // the shell holds icon and tip
  EXPECT_STREQ(balloon.szInfoTitle, L"\u00c7a\u011fr\u0131: 1");
  EXPECT_STREQ(balloon.szInfo, L"05321234567");
  EXPECT_EQ(balloon.uTimeout, 10000u);
  EXPECT_EQ(balloon.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
  icon.reset();
  DestroyIcon(image);
}

TEST_F(NotifyIconWine, LongBalloonIsCutAndTwoInARowRemoveTheFirst) {
  icon->SetIconVisible(true);
  shell.calls.clear();
  icon->ShowBalloonHint(std::wstring(80, L'\u0130'), std::wstring(300, L'\u015e'),
                        BalloonIcon::Warning, 10);
  icon->ShowBalloonHint(L"\u00c7a\u011fr\u0131: 2", L"2", BalloonIcon::Info, 10);
  ASSERT_EQ(shell.calls.size(), 4u);
  EXPECT_EQ(std::wstring(shell.calls[1].data.szInfo), std::wstring(255, L'\u015e'));
  EXPECT_EQ(std::wstring(shell.calls[1].data.szInfoTitle), std::wstring(63, L'\u0130'));
  EXPECT_STREQ(shell.calls[2].data.szInfo, L"");  // the first balloon goes
  EXPECT_TRUE(shell.calls[2].data.uFlags & NIF_INFO);
  EXPECT_STREQ(shell.calls[3].data.szInfo, L"2");
  for (const auto& call : shell.calls) EXPECT_EQ(call.message, static_cast<DWORD>(NIM_MODIFY));
}

TEST_F(NotifyIconWine, ClickOnReleaseWithoutDoubleClickHandler) {
  SetCursorPos(200, 300);
  ShellSends(WM_LBUTTONDOWN);
  ShellSends(WM_LBUTTONUP);
  EXPECT_THAT(events, ElementsAre("down 0 8 200,300", "click"));
}

TEST_F(NotifyIconWine, ClickOnTheDelayTimerWithDoubleClickHandler) {
  int doubles = 0;
  icon->OnDblClick = TNotifyIcon::NotifyEvent([&](TNotifyIcon&) { ++doubles; });
  const ULONGLONG pressed = GetTickCount64();
  ShellSends(WM_LBUTTONDOWN);
  ShellSends(WM_LBUTTONUP);
  EXPECT_EQ(std::count(events.begin(), events.end(), "click"), 0);
  ASSERT_TRUE(PumpUntil([&] { return events.back() == "click"; }, 3000));
  EXPECT_GE(GetTickCount64() - pressed, GetDoubleClickTime() - 50);
  EXPECT_EQ(doubles, 0);
}

TEST_F(NotifyIconWine, DoubleClickGivesNoClick) {
  int doubles = 0;
  icon->OnDblClick = TNotifyIcon::NotifyEvent([&](TNotifyIcon&) { ++doubles; });
  ShellSends(WM_LBUTTONDOWN);
  ShellSends(WM_LBUTTONUP);
  ShellSends(WM_LBUTTONDBLCLK);
  ShellSends(WM_LBUTTONUP);
  PumpFor(GetDoubleClickTime() + 300);
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(std::count(events.begin(), events.end(), "click"), 0);
}

// While the menu's own loop runs: note where the menu window is, then choose the first item
// with keys posted to this thread (through the menu's own window), which the loop reads.
RECT openedMenu;
HWND menuOwner;
void CALLBACK ChooseFirstItem(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, timer);
  GetWindowRect(menu, &openedMenu);
  PostMessageW(menuOwner, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menuOwner, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(NotifyIconWine, RightButtonOpensTheMenuAtThePointerAndRunsTheChosenItem) {
  TPopupMenu menu;
  std::vector<std::wstring> clicked;
  auto record = TMenuItem::ClickEvent([&](TMenuItem& item) { clicked.push_back(item.Caption()); });
  menu.Add(L"Listeyi sil", record);
  menu.Add(L"\u00c7\u0131k\u0131\u015f", record);
  icon->SetPopupMenu(&menu);

  SetCursorPos(400, 350);
  openedMenu = RECT{};
  menuOwner = menu.WindowHandle();
  const UINT_PTR watcher = SetTimer(nullptr, 0, 50, ChooseFirstItem);
  ShellSends(WM_RBUTTONDOWN);  // returns when the menu has closed
  KillTimer(nullptr, watcher);
  EXPECT_EQ(openedMenu.left, 400);
  EXPECT_EQ(openedMenu.top, 350);
  EXPECT_EQ(menu.PopupComponent(), static_cast<TNotifyIcon*>(icon.get()));
  ASSERT_TRUE(PumpUntil([&] { return !clicked.empty(); }, 1000));
  EXPECT_THAT(clicked, ElementsAre(L"Listeyi sil"));
  EXPECT_EQ(events.front(), "down 1 16 400,350");
}

TEST_F(NotifyIconWine, DoubleClickClicksTheDefaultMenuItem) {
  TPopupMenu menu;
  int cleared = 0;
  menu.Add(L"Listeyi sil", TMenuItem::ClickEvent([&](TMenuItem&) { ++cleared; })).SetDefault(true);
  icon->SetPopupMenu(&menu);
  ShellSends(WM_LBUTTONDBLCLK);
  EXPECT_EQ(cleared, 1);
}

TEST_F(NotifyIconWine, PointerEntersAndExits) {
  std::vector<std::string> crossings;
  icon->OnMouseEnter = TNotifyIcon::NotifyEvent([&](TNotifyIcon&) { crossings.push_back("enter"); });
  icon->OnMouseExit = TNotifyIcon::NotifyEvent([&](TNotifyIcon&) { crossings.push_back("exit"); });
  icon->SetWantEnterExitEvents(true);
  SetCursorPos(700, 700);
  ShellSends(WM_MOUSEMOVE);
  ShellSends(WM_MOUSEMOVE);
  PumpFor(100);
  EXPECT_THAT(crossings, ElementsAre("enter"));
  SetCursorPos(20, 20);
  ASSERT_TRUE(PumpUntil([&] { return crossings.size() == 2; }, 1000));
  EXPECT_THAT(crossings, ElementsAre("enter", "exit"));
}

TEST_F(NotifyIconWine, DisabledIconHearsOnlyBalloons) {
  std::vector<std::string> balloons;
  icon->OnBalloonHintShow = TNotifyIcon::NotifyEvent([&](TNotifyIcon&) { balloons.push_back("shown"); });
  icon->OnBalloonHintClick = TNotifyIcon::NotifyEvent([&](TNotifyIcon&) { balloons.push_back("clicked"); });
  icon->OnBalloonHintHide = TNotifyIcon::NotifyEvent([&](TNotifyIcon&) { balloons.push_back("hidden"); });
  icon->OnBalloonHintTimeout = TNotifyIcon::NotifyEvent([&](TNotifyIcon&) { balloons.push_back("timed out"); });
  icon->SetEnabled(false);
  for (UINT n : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_MBUTTONDOWN})
    ShellSends(n);
  for (UINT n : {NIN_BALLOONSHOW, NIN_BALLOONUSERCLICK, NIN_BALLOONHIDE, NIN_BALLOONTIMEOUT})
    ShellSends(n);
  EXPECT_TRUE(events.empty());
  EXPECT_THAT(balloons, ElementsAre("shown", "clicked", "hidden", "timed out"));
}

TEST_F(NotifyIconWine, ThreeIconsCycle) {
  const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  TImageList list;
  for (COLORREF colour : colours) {
    HICON image = MakeSolidIcon(colour);
    list.AddIcon(image);
    DestroyIcon(image);
  }
  std::vector<int> reported;
  icon->OnCycle = TNotifyIcon::CycleEvent([&](TNotifyIcon&, int next) { reported.push_back(next); });
  icon->SetIconList(&list);
  icon->SetIconVisible(true);
  icon->SetCycleInterval(60);
  shell.calls.clear();
  icon->SetCycleIcons(true);
  ASSERT_TRUE(PumpUntil([&] { return reported.size() >= 4; }, 3000));
  icon->SetCycleIcons(false);

  std::vector<COLORREF> shown;
  for (const auto& call : shell.CallsOf(NIM_MODIFY)) shown.push_back(call.iconColour);
  ASSERT_GE(shown.size(), 4u);
  EXPECT_THAT(std::vector<COLORREF>(shown.begin(), shown.begin() + 4),
              ElementsAre(colours[0], colours[1], colours[2], colours[0]));
  EXPECT_THAT(std::vector<int>(reported.begin(), reported.begin() + 4), ElementsAre(1, 2, 0, 1));
}

TEST_F(NotifyIconWine, TaskbarCreatedAddsOnlyAVisibleIconAgain) {
  ShellRecorder otherShell;
  TWin32NotifyIcon hidden(application, nullptr, TNotifyIcon::Loading::No, otherShell.Notifier());
  icon->SetIconVisible(true);
  shell.calls.clear();
  otherShell.calls.clear();
  ASSERT_NE(TaskbarRecreatedMessage(), 0u);
  SendMessageW(application.Handle(), TaskbarRecreatedMessage(), 0, 0);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_TRUE(otherShell.calls.empty());
}

TEST_F(NotifyIconWine, HiddenWindowOutlivesCloseMessagesAndGoesWithTheLastIcon) {
  const HWND window = HiddenTrayWindow();
  EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 1);
  EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, 0), 1);
  EXPECT_TRUE(IsWindow(window));
  icon.reset();
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(NotifyIconWine, MinimizingTheOwnerSendsItToTheTray) {
  int fired = 0;
  icon->SetMinimizeToTray(true);
  icon->OnMinimizeToTray = TNotifyIcon::NotifyEvent([&](TNotifyIcon&) { ++fired; });
  ShowWindow(owner.Handle(), SW_SHOW);
  EXPECT_EQ(SendMessageW(owner.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0), 1);
  EXPECT_EQ(fired, 1);
  EXPECT_FALSE(IsWindowVisible(owner.Handle()));
  EXPECT_TRUE(icon->IconVisible());
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_ADD));

  // The restore command of the application window brings it back.
  SendMessageW(application.Handle(), WM_SYSCOMMAND, 0xF120, 0);
  EXPECT_TRUE(IsWindowVisible(owner.Handle()));

  // Once the icon is gone the owner's own procedure answers again.
  icon.reset();
  EXPECT_EQ(SendMessageW(owner.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0), 0);
}

// The main form's own minimize, without OnMinimizeToTray, reaches the icon through the
// application; the application's restore brings the form back, and its window stays hidden.
TEST_F(NotifyIconWine, MinimizingTheMainFormItselfGoesToTheTrayAndRestoreBringsItBack) {
  icon->SetMinimizeToTray(true);
  ShowWindow(owner.Handle(), SW_SHOW);
  SendMessageW(owner.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(owner.Handle()));
  EXPECT_TRUE(icon->IconVisible());

  application.Restore();
  EXPECT_TRUE(IsWindowVisible(owner.Handle()));
  EXPECT_FALSE(IsIconic(owner.Handle()));
  EXPECT_FALSE(IsWindowVisible(application.Handle()));
}

TEST_F(NotifyIconWine, StartupCanKeepTheMainFormHidden) {
  TWin32NotifyIcon loading(application, owner.Handle(), TNotifyIcon::Loading::Yes, shell.Notifier());
  loading.OnStartup = TNotifyIcon::StartupEvent([](TNotifyIcon&, bool& show) { show = false; });
  ShowWindow(owner.Handle(), SW_SHOW);
  loading.Loaded();
  EXPECT_FALSE(application.ShowMainForm());
  EXPECT_FALSE(IsWindowVisible(owner.Handle()));
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_SETVERSION));
}

}  // namespace
}  // namespace tray::testing
