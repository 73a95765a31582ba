// The shell's notifications turned into events: click versus double click, the buttons and
// the menu, the pointer's enter and exit, Enabled, and icon cycling.
#include <algorithm>
#include <string>
#include <vector>

#include "tray/tests/notify_icon_fixture.h"

namespace tray::testing {
namespace {

using ::testing::ElementsAre;
using N = ShellNotification;

// What the icon's events reported, one text per event.
struct EventLog {
  std::vector<std::string> events;

  void Attach(TNotifyIcon& icon, bool withDoubleClick) {
    icon.OnClick = TNotifyIcon::NotifyEvent([this](TNotifyIcon&) { events.push_back("click"); });
    if (withDoubleClick)
      icon.OnDblClick = TNotifyIcon::NotifyEvent([this](TNotifyIcon&) { events.push_back("double"); });
    icon.OnMouseDown = TNotifyIcon::MouseEvent(
        [this](TNotifyIcon&, MouseButton button, ShiftState shift, int x, int y) {
          events.push_back("down " + Describe(button, shift, x, y));
        });
    icon.OnMouseUp = TNotifyIcon::MouseEvent(
        [this](TNotifyIcon&, MouseButton button, ShiftState shift, int x, int y) {
          events.push_back("up " + Describe(button, shift, x, y));
        });
    icon.OnMouseMove = TNotifyIcon::MouseMoveEvent([this](TNotifyIcon&, ShiftState shift, int x, int y) {
      events.push_back("move " + std::to_string(shift) + " " + std::to_string(x) + "," + std::to_string(y));
    });
    icon.OnMouseEnter = TNotifyIcon::NotifyEvent([this](TNotifyIcon&) { events.push_back("enter"); });
    icon.OnMouseExit = TNotifyIcon::NotifyEvent([this](TNotifyIcon&) { events.push_back("exit"); });
    icon.OnBalloonHintShow = TNotifyIcon::NotifyEvent([this](TNotifyIcon&) { events.push_back("balloon shown"); });
    icon.OnBalloonHintHide = TNotifyIcon::NotifyEvent([this](TNotifyIcon&) { events.push_back("balloon hidden"); });
    icon.OnBalloonHintTimeout = TNotifyIcon::NotifyEvent([this](TNotifyIcon&) { events.push_back("balloon timed out"); });
    icon.OnBalloonHintClick = TNotifyIcon::NotifyEvent([this](TNotifyIcon&) { events.push_back("balloon clicked"); });
  }

  static std::string Describe(MouseButton button, ShiftState shift, int x, int y) {
    const char* name = button == MouseButton::Left ? "left" : button == MouseButton::Right ? "right" : "middle";
    return std::string(name) + " " + std::to_string(shift) + " " + std::to_string(x) + "," + std::to_string(y);
  }
};

class NotifyIconInputTest : public NotifyIconTest {
 protected:
  TNotifyIcon& MakeIconWithEvents(bool withDoubleClick) {
    MakeIcon();
    log.Attach(*icon, withDoubleClick);
    return *icon;
  }
  void FireClickDelay() {
    auto timer = TimerRunningAt(host.doubleClickTime);
    ASSERT_TRUE(timer.has_value());
    FireTimer(*timer);
  }
  EventLog log;
};

TEST_F(NotifyIconInputTest, WithoutDoubleClickHandlerClickFiresOnRelease) {
  MakeIconWithEvents(false);
  host.modifiers = ssShift;
  Notify(N::LeftButtonDown);
  host.cursor = {11, 21};
  Notify(N::LeftButtonUp);
  EXPECT_THAT(log.events, ElementsAre("down left 9 10,20", "click", "up left 9 11,21"));
  EXPECT_TRUE(TimerWindows().running.empty());
}

TEST_F(NotifyIconInputTest, WithDoubleClickHandlerClickWaitsForTheDelayTimer) {
  MakeIconWithEvents(true);
  Notify(N::LeftButtonDown);
  Notify(N::LeftButtonUp);
  EXPECT_THAT(log.events, ElementsAre("down left 8 10,20", "up left 8 10,20"));
  FireClickDelay();
  EXPECT_THAT(log.events, ElementsAre("down left 8 10,20", "up left 8 10,20", "click"));
  EXPECT_FALSE(TimerRunningAt(host.doubleClickTime).has_value());
}

TEST_F(NotifyIconInputTest, DoubleClickGivesNoClick) {
  MakeIconWithEvents(true);
  Notify(N::LeftButtonDown);
  Notify(N::LeftButtonUp);
  Notify(N::LeftDoubleClick);
  Notify(N::LeftButtonUp);
  FireClickDelay();
  EXPECT_THAT(log.events,
              ElementsAre("down left 8 10,20", "up left 8 10,20", "double", "up left 8 10,20"));

  // The next single click is a click again.
  log.events.clear();
  Notify(N::LeftButtonDown);
  Notify(N::LeftButtonUp);
  FireClickDelay();
  EXPECT_EQ(log.events.back(), "click");
}

TEST_F(NotifyIconInputTest, RightButtonOpensTheMenuAtThePointer) {
  FakePopupMenu menu;
  MakeIconWithEvents(false).SetPopupMenu(&menu);
  host.cursor = {640, 1000};
  CallLog().clear();
  Notify(N::RightButtonDown);
  EXPECT_THAT(CallLog(), ElementsAre("foreground tray", "foreground tray", "process messages",
                                     "popup at 640,1000", "post owner null"));
  EXPECT_EQ(menu.popupComponent, icon.get());
  EXPECT_THAT(log.events, ElementsAre("down right 16 640,1000"));
}

TEST_F(NotifyIconInputTest, MenuThatDoesNotPopUpByItselfStaysClosed) {
  FakePopupMenu menu;
  menu.autoPopup = false;
  MakeIconWithEvents(false).SetPopupMenu(&menu);
  Notify(N::RightButtonDown);
  Notify(N::LeftDoubleClick);
  EXPECT_TRUE(CallLog().empty());
  EXPECT_EQ(menu.defaultItemClicks, 0);
}

TEST_F(NotifyIconInputTest, LeftButtonOpensTheMenuOnlyWithLeftPopup) {
  FakePopupMenu menu;
  MakeIconWithEvents(false).SetPopupMenu(&menu);
  Notify(N::LeftButtonDown);
  EXPECT_TRUE(CallLog().empty());
  icon->SetLeftPopup(true);
  Notify(N::LeftButtonDown);
  EXPECT_EQ(std::count(CallLog().begin(), CallLog().end(), "popup at 10,20"), 1);
}

TEST_F(NotifyIconInputTest, DoubleClickClicksTheDefaultItemUnlessTheLeftButtonPopsUp) {
  FakePopupMenu menu;
  MakeIconWithEvents(true).SetPopupMenu(&menu);
  Notify(N::LeftDoubleClick);
  EXPECT_EQ(menu.defaultItemClicks, 1);
  icon->SetLeftPopup(true);
  Notify(N::LeftDoubleClick);
  EXPECT_EQ(menu.defaultItemClicks, 1);
}

TEST_F(NotifyIconInputTest, RightReleaseFollowsTheShellBehaviour) {
  MakeIconWithEvents(false);
  Notify(N::RightButtonUp);
  Notify(N::ContextMenu);
  Notify(N::Select);
  EXPECT_THAT(log.events, ElementsAre("up right 16 10,20"));

  log.events.clear();
  icon->SetShellBehaviour(1);
  Notify(N::RightButtonUp);
  Notify(N::ContextMenu);
  Notify(N::Select);
  Notify(N::KeySelect);
  EXPECT_EQ(log.events.size(), 3u);
}

TEST_F(NotifyIconInputTest, MiddleButtonAndIgnoredDoubleClicks) {
  MakeIconWithEvents(true);
  host.modifiers = ssCtrl | ssAlt;
  Notify(N::MiddleButtonDown);
  Notify(N::MiddleButtonUp);
  Notify(N::MiddleDoubleClick);
  Notify(N::RightDoubleClick);
  EXPECT_THAT(log.events, ElementsAre("down middle 38 10,20", "up middle 38 10,20"));
}

TEST_F(NotifyIconInputTest, PointerEntersOnMovementAndExitsWhenItMovesAway) {
  MakeIconWithEvents(false).SetWantEnterExitEvents(true);
  const auto exitTimer = TimerRunningAt(20);
  ASSERT_TRUE(exitTimer.has_value());

  Notify(N::MouseMove);
  Notify(N::MouseMove);
  FireTimer(*exitTimer);  // the pointer has not moved
  EXPECT_THAT(log.events, ElementsAre("enter", "move 0 10,20", "move 0 10,20"));

  host.cursor = {300, 400};
  FireTimer(*exitTimer);
  FireTimer(*exitTimer);
  Notify(N::MouseMove);
  EXPECT_THAT(log.events, ElementsAre("enter", "move 0 10,20", "move 0 10,20", "exit", "enter",
                                      "move 0 300,400"));

  icon->SetWantEnterExitEvents(false);
  EXPECT_FALSE(TimerRunningAt(20).has_value());
}

TEST_F(NotifyIconInputTest, NoEnterOrExitUnlessWanted) {
  MakeIconWithEvents(false);
  Notify(N::MouseMove);
  EXPECT_THAT(log.events, ElementsAre("move 0 10,20"));
}

TEST_F(NotifyIconInputTest, DisabledIconIgnoresTheMouseButNotBalloons) {
  FakePopupMenu menu;
  MakeIconWithEvents(true).SetPopupMenu(&menu);
  icon->SetEnabled(false);
  for (auto n : {N::MouseMove, N::LeftButtonDown, N::LeftButtonUp, N::LeftDoubleClick,
                 N::RightButtonDown, N::RightButtonUp, N::MiddleButtonDown, N::MiddleButtonUp})
    Notify(n);
  EXPECT_TRUE(log.events.empty());
  EXPECT_TRUE(CallLog().empty());
  EXPECT_TRUE(TimerWindows().running.empty());

  for (auto n : {N::BalloonShow, N::BalloonUserClick, N::BalloonHide, N::BalloonTimeout}) Notify(n);
  EXPECT_THAT(log.events, ElementsAre("balloon shown", "balloon clicked", "balloon hidden",
                                      "balloon timed out"));
}

TEST_F(NotifyIconInputTest, NotificationForAnotherIdentifierIsIgnored) {
  MakeIconWithEvents(false);
  TrayIconHandler()->Dispatch(icon->Identifier() + 1, N::LeftButtonDown);
  EXPECT_TRUE(log.events.empty());
}

TEST_F(NotifyIconInputTest, MenuRemovedWhilePendingMessagesRunIsNotOpened) {
  auto menu = std::make_unique<FakePopupMenu>();
  MakeIconWithEvents(false).SetPopupMenu(menu.get());
  host.duringProcessMessages = [&menu] { menu.reset(); };
  Notify(N::RightButtonDown);
  EXPECT_EQ(icon->PopupMenu(), nullptr);
  EXPECT_EQ(std::count_if(CallLog().begin(), CallLog().end(),
                          [](const std::string& call) { return call.rfind("popup", 0) == 0; }),
            0);
}

// A close arriving while the menu is up or its pending messages run, or a handler freeing its
// own icon: the icon stops there, touching nothing of itself.
TEST_F(NotifyIconInputTest, AnIconDestroyedUnderItsOwnCallStopsThere) {
  FakePopupMenu menu;
  const auto destroyIcon = [this] { icon.reset(); };
  const auto destroyingIcon = TNotifyIcon::NotifyEvent([&](TNotifyIcon&) { destroyIcon(); });

  MakeIconWithEvents(false).OnClick = destroyingIcon;
  Notify(N::LeftButtonDown);
  Notify(N::LeftButtonUp);
  EXPECT_EQ(icon, nullptr);
  EXPECT_THAT(log.events, ElementsAre("down left 8 10,20"));

  MakeIconWithEvents(true).OnClick = destroyingIcon;
  Notify(N::LeftButtonDown);
  Notify(N::LeftButtonUp);
  FireClickDelay();
  EXPECT_EQ(icon, nullptr);

  MakeIconWithEvents(true).OnDblClick = destroyingIcon;
  icon->SetPopupMenu(&menu);
  Notify(N::LeftDoubleClick);
  EXPECT_EQ(menu.defaultItemClicks, 0);

  MakeIconWithEvents(false).SetPopupMenu(&menu);
  host.duringProcessMessages = destroyIcon;
  Notify(N::RightButtonDown);
  EXPECT_THAT(CallLog(), ::testing::Not(::testing::Contains(::testing::StartsWith("popup"))));

  MakeIconWithEvents(false).SetPopupMenu(&menu);
  host.duringProcessMessages = nullptr;
  menu.duringPopup = destroyIcon;
  Notify(N::RightButtonDown);
  EXPECT_EQ(icon, nullptr);
  EXPECT_THAT(CallLog(), ::testing::Not(::testing::Contains("post owner null")));
}

// Cycling and the icon list.

class NotifyIconCycleTest : public NotifyIconTest {
 protected:
  std::vector<std::uintptr_t> ShownIcons() const {
    std::vector<std::uintptr_t> shown;
    for (const auto& call : host.shellCalls) shown.push_back(call.record.icon);
    return shown;
  }
  FakeImageList list{3};
};

TEST_F(NotifyIconCycleTest, ThreeIconsCycleAndReportTheNextIndex) {
  std::vector<int> reported;
  MakeIcon().SetIconList(&list);
  icon->OnCycle = TNotifyIcon::CycleEvent([&](TNotifyIcon&, int next) { reported.push_back(next); });
  icon->SetCycleInterval(400);
  icon->SetCycleIcons(true);
  const auto timer = TimerRunningAt(400);
  ASSERT_TRUE(timer.has_value());
  host.shellCalls.clear();

  for (int step = 0; step < 4; ++step) FireTimer(*timer);
  EXPECT_THAT(ShownIcons(), ElementsAre(FakeImageList::HandleOf(0), FakeImageList::HandleOf(1),
                                        FakeImageList::HandleOf(2), FakeImageList::HandleOf(0)));
  EXPECT_THAT(reported, ElementsAre(1, 2, 0, 1));
  EXPECT_EQ(icon->IconIndex(), 1);
  EXPECT_EQ(list.LiveCopies(), 1);  // only the icon shown now is held

  icon->SetCycleIcons(false);
  EXPECT_FALSE(TimerRunningAt(400).has_value());
}

TEST_F(NotifyIconCycleTest, NewIntervalReappliesCycling) {
  MakeIcon().SetIconList(&list);
  icon->SetCycleInterval(400);
  icon->SetCycleIcons(true);
  icon->SetIconIndex(2);
  icon->SetCycleInterval(100);
  EXPECT_EQ(icon->IconIndex(), 0);
  EXPECT_FALSE(TimerRunningAt(400).has_value());
  EXPECT_TRUE(TimerRunningAt(100).has_value());
}

TEST_F(NotifyIconCycleTest, IndexStaysWithinTheListAndShowsItsIcon) {
  MakeIcon().SetIconList(&list);
  EXPECT_EQ(LastRecord().icon, FakeImageList::HandleOf(0));
  icon->SetIconIndex(7);
  EXPECT_EQ(icon->IconIndex(), 2);
  EXPECT_EQ(LastRecord().icon, FakeImageList::HandleOf(2));
  icon->SetIconIndex(-3);
  EXPECT_EQ(icon->IconIndex(), 0);
  EXPECT_EQ(LastRecord().icon, FakeImageList::HandleOf(0));

  icon->SetIconIndex(1);
  icon->SetIconList(nullptr);
  EXPECT_EQ(icon->IconIndex(), 0);
  icon->SetIconIndex(5);
  EXPECT_EQ(icon->IconIndex(), 0);
}

TEST_F(NotifyIconCycleTest, RemovedListAndMenuAreForgotten) {
  auto removedList = std::make_unique<FakeImageList>(3);
  auto removedMenu = std::make_unique<FakePopupMenu>();
  MakeIcon().SetIconList(removedList.get());
  icon->SetPopupMenu(removedMenu.get());
  icon->SetIconIndex(2);
  removedList.reset();
  removedMenu.reset();
  EXPECT_EQ(icon->IconList(), nullptr);
  EXPECT_EQ(icon->IconIndex(), 0);
  EXPECT_EQ(icon->PopupMenu(), nullptr);
  icon->SetCycleInterval(50);
  icon->SetCycleIcons(true);
  FireTimer(*TimerRunningAt(50));  // nothing to cycle through: no step
}

TEST_F(NotifyIconCycleTest, ListOutlivingTheIconForgetsIt) {
  MakeIcon().SetIconList(&list);
  icon.reset();
  EXPECT_EQ(list.LiveCopies(), 0);
}

}  // namespace
}  // namespace tray::testing
