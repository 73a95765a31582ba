// The tray icon and the shell: the record it fills, the calls each property and operation
// makes, balloons and their limits, loading, the shell's restart and destruction.
#include <algorithm>
#include <string>
#include <vector>

#include "tray/tests/notify_icon_fixture.h"

namespace tray::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(NotifyIconTest, CreationFillsTheRecordAndHooksTheApplicationAndOwner) {
  icon = std::make_unique<TNotifyIcon>(host);
  EXPECT_THAT(CallLog(), ElementsAre("create tray window", "hook application", "subclass owner"));
  const auto& record = icon->IconData();
  EXPECT_EQ(record.window, kFakeTrayWindow);
  EXPECT_EQ(record.identifier, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(icon.get())));
  EXPECT_EQ(record.flags, nifMessage | nifIcon | nifTip);
  EXPECT_EQ(record.callbackMessage, 0x800u);
  EXPECT_TRUE(icon->Enabled());
  EXPECT_TRUE(icon->ShowHint());
  EXPECT_FALSE(icon->IconVisible());
  EXPECT_TRUE(host.shellCalls.empty());
  EXPECT_EQ(host.hookedIcon, icon.get());
  EXPECT_EQ(host.ownerSubclassedFor, icon.get());
}

TEST_F(NotifyIconTest, OwnerThatIsNoWindowIsNotSubclassed) {
  host.ownerIsWindowControl = false;
  icon = std::make_unique<TNotifyIcon>(host);
  EXPECT_EQ(host.ownerSubclassedFor, nullptr);
  icon.reset();
  EXPECT_EQ(std::count(CallLog().begin(), CallLog().end(), "restore owner procedure"), 0);
}

TEST_F(NotifyIconTest, DestructionRemovesTheIconThenUnhooksAndLetsTheWindowGo) {
  MakeIcon().SetIconVisible(true);
  CallLog().clear();
  icon.reset();
  EXPECT_THAT(CallLog(),
              ElementsAre("shell Delete", "unhook application", "restore owner procedure"));
  EXPECT_EQ(TrayIconHandler(), nullptr);
  EXPECT_TRUE(TimerWindows().running.empty());
}

TEST_F(NotifyIconTest, IconsShareOneHiddenWindowUntilTheLastGoes) {
  FakeTrayHost otherHost;
  auto first = std::make_unique<TNotifyIcon>(host);
  auto second = std::make_unique<TNotifyIcon>(otherHost);
  EXPECT_EQ(std::count(CallLog().begin(), CallLog().end(), "create tray window"), 1);
  EXPECT_EQ(TrayIconHandler()->UserCount(), 2u);
  first.reset();
  EXPECT_EQ(TrayIconHandler()->UserCount(), 1u);
  second.reset();
  EXPECT_EQ(TrayIconHandler(), nullptr);
}

TEST_F(NotifyIconTest, VisibilityAddsAndDeletesTheIcon) {
  MakeIcon().SetIcon(IconHandle(reinterpret_cast<void*>(0x55), [](void*) {}));
  icon->SetIconVisible(true);
  EXPECT_EQ(host.shellCalls.back().command, ShellCommand::Add);
  EXPECT_EQ(LastRecord().icon, 0x55u);
  icon->SetIconVisible(false);
  EXPECT_EQ(host.shellCalls.back().command, ShellCommand::Delete);
  EXPECT_FALSE(icon->IconVisible());
  EXPECT_TRUE(icon->ShowIcon());
  EXPECT_TRUE(icon->IconVisible());

  host.shellAccepts = false;
  EXPECT_FALSE(icon->ModifyIcon());
}

TEST_F(NotifyIconTest, TipIsTheHintCutTo127WhileShowHintIsOn) {
  MakeIcon().SetHint(std::wstring(200, L'\u011f'));
  EXPECT_EQ(host.shellCalls.back().command, ShellCommand::Modify);
  EXPECT_EQ(LastRecord().tip, std::wstring(127, L'\u011f'));
  icon->SetShowHint(false);
  EXPECT_EQ(LastRecord().tip, L"");
  icon->SetShowHint(true);
  icon->SetHint(L"Hat 1");
  EXPECT_EQ(LastRecord().tip, L"Hat 1");
  const auto calls = host.shellCalls.size();
  icon->SetHint(L"Hat 1");  // unchanged: nothing sent
  EXPECT_EQ(host.shellCalls.size(), calls);
}

TEST_F(NotifyIconTest, EveryNewIconIsSent) {
  MakeIcon().SetIcon(IconHandle(reinterpret_cast<void*>(0x66), [](void*) {}));
  ASSERT_EQ(host.shellCalls.size(), 1u);
  EXPECT_EQ(LastRecord().icon, 0x66u);
  icon->SetIcon(nullptr);
  EXPECT_EQ(LastRecord().icon, 0u);
}

TEST_F(NotifyIconTest, BalloonIsShownAfterRemovingAnyOldOneAndNotRepeated) {
  MakeIcon().SetIconVisible(true);
  host.shellCalls.clear();
  EXPECT_TRUE(icon->ShowBalloonHint(L"\u00c7a\u011fr\u0131: 1", L"05321234567", BalloonIcon::Info, 10));
  ASSERT_EQ(host.shellCalls.size(), 2u);
  // The shell already holds the icon and the tip: a balloon does not hand them again.
  const auto& hide = host.shellCalls[0].record;
  EXPECT_EQ(host.shellCalls[0].command, ShellCommand::Modify);
  EXPECT_EQ(hide.flags, nifMessage | nifInfo);
  EXPECT_EQ(hide.balloonText, L"");
  const auto& show = host.shellCalls[1].record;
  EXPECT_EQ(show.flags, nifMessage | nifInfo);
  EXPECT_EQ(show.balloonTitle, L"\u00c7a\u011fr\u0131: 1");
  EXPECT_EQ(show.balloonText, L"05321234567");
  EXPECT_EQ(show.timeoutOrVersion, 10000u);
  EXPECT_EQ(show.balloonIcon, BalloonIcon::Info);

  icon->ModifyIcon();
  EXPECT_EQ(LastRecord().flags, nifMessage);
}

// The icon and the tip are left out only while the shell is known to hold them as they are.
TEST_F(NotifyIconTest, IconAndTipGoAgainWhenTheShellMayNotHoldThem) {
  const auto iconAndTip = nifIcon | nifTip;
  MakeIcon().SetIconVisible(true);
  EXPECT_EQ(LastRecord().flags & iconAndTip, iconAndTip);
  icon->SetHint(L"Hat 2");
  EXPECT_EQ(LastRecord().flags & iconAndTip, iconAndTip);
  EXPECT_EQ(LastRecord().tip, L"Hat 2");
  icon->ModifyIcon();
  EXPECT_EQ(LastRecord().flags & iconAndTip, 0u);

  icon->SetIcon(IconHandle(reinterpret_cast<void*>(0x66), [](void*) {}));
  EXPECT_EQ(LastRecord().flags & iconAndTip, iconAndTip);
  EXPECT_EQ(LastRecord().icon, 0x66u);

  host.shellAccepts = false;
  icon->ModifyIcon();
  EXPECT_EQ(LastRecord().flags & iconAndTip, 0u);
  host.shellAccepts = true;
  icon->ModifyIcon();  // after a refusal the shell may hold anything
  EXPECT_EQ(LastRecord().flags & iconAndTip, iconAndTip);

  icon->SetIconVisible(false);
  icon->SetIconVisible(true);
  EXPECT_EQ(host.shellCalls.back().command, ShellCommand::Add);
  EXPECT_EQ(LastRecord().flags & iconAndTip, iconAndTip);
}

TEST_F(NotifyIconTest, TwoBalloonsInARowRemoveTheFirst) {
  MakeIcon().SetIconVisible(true);
  host.shellCalls.clear();
  icon->ShowBalloonHint(L"first", L"1", BalloonIcon::Info, 10);
  icon->ShowBalloonHint(L"second", L"2", BalloonIcon::Warning, 5);
  ASSERT_EQ(host.shellCalls.size(), 4u);
  EXPECT_EQ(host.shellCalls[2].record.balloonText, L"");
  EXPECT_EQ(host.shellCalls[2].record.flags & nifInfo, nifInfo);
  EXPECT_EQ(host.shellCalls[3].record.balloonText, L"2");
  EXPECT_EQ(host.shellCalls[3].record.balloonTitle, L"second");
  EXPECT_EQ(host.shellCalls[3].record.balloonIcon, BalloonIcon::Warning);
  EXPECT_EQ(host.shellCalls[3].record.timeoutOrVersion, 5000u);
}

TEST_F(NotifyIconTest, BalloonBodyIsCutTo255AndTitleTo63) {
  MakeIcon().ShowBalloonHint(std::wstring(80, L'T'), std::wstring(300, L'\u015f'),
                             BalloonIcon::Error, 255);
  EXPECT_EQ(LastRecord().balloonText, std::wstring(255, L'\u015f'));
  EXPECT_EQ(LastRecord().balloonTitle, std::wstring(63, L'T'));
  EXPECT_EQ(LastRecord().timeoutOrVersion, 255000u);
}

TEST(CutText, NeverLeavesHalfASurrogatePair) {
  EXPECT_EQ(CutText(L"abc", 3), L"abc");
  EXPECT_EQ(CutText(L"abcd", 3), L"abc");
  const std::wstring pairAtTheCut = std::wstring(L"ab") + wchar_t(0xD83D) + wchar_t(0xDCDE);
  EXPECT_EQ(CutText(pairAtTheCut, 3), L"ab");
  // On the heap, so that a look before the text is caught.
  const std::vector<wchar_t> heap(4, L'a');
  EXPECT_EQ(CutText(std::wstring_view(heap.data(), heap.size()), 0), L"");
}

TEST_F(NotifyIconTest, ShellRestartAddsOnlyAVisibleIconAgain) {
  FakeTrayHost hiddenHost;
  TNotifyIcon hidden(hiddenHost);
  MakeIcon().SetIconVisible(true);
  host.shellCalls.clear();
  icon->TaskbarRecreated();
  hidden.TaskbarRecreated();
  ASSERT_EQ(host.shellCalls.size(), 1u);
  EXPECT_EQ(host.shellCalls[0].command, ShellCommand::Add);
  EXPECT_EQ(host.shellCalls[0].record.identifier, icon->Identifier());
  EXPECT_TRUE(hiddenHost.shellCalls.empty());
}

TEST_F(NotifyIconTest, WhileLoadingSettingsWaitForLoaded) {
  MakeIcon(TNotifyIcon::Loading::Yes);
  icon->SetHint(L"Test");
  icon->SetIconVisible(true);
  icon->SetWantEnterExitEvents(true);
  icon->SetCycleInterval(400);
  EXPECT_TRUE(host.shellCalls.empty());
  EXPECT_TRUE(TimerWindows().running.empty());

  icon->Loaded();
  ASSERT_EQ(host.shellCalls.size(), 3u);
  EXPECT_EQ(host.shellCalls[0].command, ShellCommand::Modify);
  EXPECT_EQ(host.shellCalls[1].command, ShellCommand::Add);
  EXPECT_EQ(host.shellCalls[1].record.tip, L"Test");
  EXPECT_EQ(host.shellCalls[2].command, ShellCommand::SetVersion);
  EXPECT_EQ(host.shellCalls[2].record.timeoutOrVersion, 0u);
  EXPECT_TRUE(TimerRunningAt(20).has_value());
}

TEST_F(NotifyIconTest, LoadedAsksForVersion5NotificationsWhenTold) {
  MakeIcon(TNotifyIcon::Loading::Yes).SetShellBehaviour(1);
  icon->Loaded();
  EXPECT_EQ(host.shellCalls[1].command, ShellCommand::Delete);  // not visible
  EXPECT_EQ(LastRecord().timeoutOrVersion, 3u);
}

}  // namespace
}  // namespace tray::testing
