// The tray icon and the application: hiding the main window at start, minimizing to the tray,
// restoring, and the owner window's messages.
#include "tray/tests/notify_icon_fixture.h"

namespace tray::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(NotifyIconTest, StartupCanKeepTheMainWindowHidden) {
  MakeIcon(TNotifyIcon::Loading::Yes);
  host.applicationWindowVisible = true;
  icon->OnStartup = TNotifyIcon::StartupEvent([](TNotifyIcon&, bool& show) { show = false; });
  icon->Loaded();
  EXPECT_THAT(std::vector<std::string>(CallLog().begin(), CallLog().begin() + 3),
              ElementsAre("cancel show main form", "hide main form", "hide application"));
}

TEST_F(NotifyIconTest, StartupThatShowsTheMainWindowChangesNothing) {
  MakeIcon(TNotifyIcon::Loading::Yes);
  bool asked = false;
  icon->OnStartup = TNotifyIcon::StartupEvent([&](TNotifyIcon&, bool& show) { asked = show; });
  icon->Loaded();
  EXPECT_TRUE(asked);
  EXPECT_THAT(CallLog(), ElementsAre("shell Modify", "shell Delete", "shell SetVersion"));
}

TEST_F(NotifyIconTest, MinimizedApplicationGoesToTheTrayWhenAsked) {
  MakeIcon().ApplicationMinimized();
  EXPECT_TRUE(CallLog().empty());
  icon->SetMinimizeToTray(true);
  icon->ApplicationMinimized();
  EXPECT_THAT(CallLog(), ElementsAre("hide main form", "shell Add"));
  EXPECT_TRUE(icon->IconVisible());
}

TEST_F(NotifyIconTest, WithoutAMainWindowNothingIsHidden) {
  host.hasMainForm = false;
  MakeIcon().HideMainForm();
  icon->ApplicationRestoreCommand();
  EXPECT_TRUE(CallLog().empty());
}

TEST_F(NotifyIconTest, OwnerMinimizeIsTakenOverOnlyWithTheEventAssigned) {
  MakeIcon().SetMinimizeToTray(true);
  EXPECT_FALSE(icon->OwnerMinimizing());
  EXPECT_TRUE(CallLog().empty());

  int fired = 0;
  icon->OnMinimizeToTray = TNotifyIcon::NotifyEvent([&](TNotifyIcon&) { ++fired; });
  EXPECT_TRUE(icon->OwnerMinimizing());
  EXPECT_EQ(fired, 1);
  EXPECT_THAT(CallLog(), ElementsAre("hide main form", "shell Add"));

  icon->SetMinimizeToTray(false);
  EXPECT_FALSE(icon->OwnerMinimizing());
}

TEST_F(NotifyIconTest, ShownOwnerBringsApplicationThenOwnerToTheFront) {
  MakeIcon().OwnerShown();
  EXPECT_THAT(CallLog(), ElementsAre("foreground application", "foreground owner"));
}

TEST_F(NotifyIconTest, RestoreCommandMakesAMinimizedMainWindowNormalAndShowsIt) {
  MakeIcon().ApplicationRestoreCommand();
  EXPECT_THAT(CallLog(), ElementsAre("show main form"));
  CallLog().clear();
  host.mainFormMinimized = true;
  icon->ApplicationRestoreCommand();
  EXPECT_THAT(CallLog(), ElementsAre("restore main form", "show main form"));
}

TEST_F(NotifyIconTest, FirstPositionChangeOfAnMdiFrameAsksOnStartupOnce) {
  host.mainFormIsMdiFrame = true;
  host.applicationWindowVisible = true;
  int asked = 0;
  MakeIcon().OnStartup = TNotifyIcon::StartupEvent([&](TNotifyIcon&, bool& show) {
    ++asked;
    show = false;
  });
  icon->ApplicationPositionChanged();
  icon->ApplicationPositionChanged();
  EXPECT_EQ(asked, 1);
  EXPECT_THAT(CallLog(), ElementsAre("hide application"));
}

TEST_F(NotifyIconTest, StartupCheckWaitsForTheMainWindow) {
  host.hasMainForm = false;
  host.mainFormIsMdiFrame = true;
  int asked = 0;
  MakeIcon().OnStartup = TNotifyIcon::StartupEvent([&](TNotifyIcon&, bool&) { ++asked; });
  icon->ApplicationPositionChanged();
  host.hasMainForm = true;
  icon->ApplicationPositionChanged();
  EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace tray::testing
