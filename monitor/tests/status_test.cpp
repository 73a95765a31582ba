// The connection poll and the signal meters: the status texts, model and serial, the
// one-time reset on losing the device, polling that survives a failing command, and levels.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "monitor/tests/fake_form.h"

namespace monitor::testing {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;

const std::wstring Connected = L"Bağlantı tamam  Hemen arayın";
const std::wstring NotConnected = L"Cihaz bağlantısı sağlanamadı";

struct Polled : FakeForm {
  Polled() { Start(); }
  void Plug() {
    device().Model = L"Tevrin 4P";
    device().Serial = L"TR-0042";
  }
  void Unplug() { device().Model = L""; }
};

TEST(Timer1Timer, NoDeviceShowsNotConnectedAndLeavesListAndCounterAlone) {
  Polled form;
  form.handlers.Timer1Timer();
  EXPECT_EQ(form.Label9.Caption(), NotConnected);
  EXPECT_EQ(form.Label24.Caption(), L"");
  EXPECT_EQ(form.Label25.Caption(), L"");
  EXPECT_THAT(form.device().Received, ElementsAre("devicemodel"));
  EXPECT_TRUE(form.Timer1.Enabled);
  EXPECT_EQ(form.journal.front(), "Timer1.Disabled");
  EXPECT_EQ(form.journal.back(), "Timer1.Enabled");

  form.Call(L"1");  // a call without a device answering: no reset on later ticks
  form.handlers.Timer1Timer();
  EXPECT_EQ(form.Label5.Caption(), L"1");
  EXPECT_EQ(form.Column(0), std::vector<std::wstring>{L"1"});
}

TEST(Timer1Timer, PluggedDeviceShowsConnectedWithModelAndSerial) {
  Polled form;
  form.Plug();
  form.handlers.Timer1Timer();
  EXPECT_EQ(form.Label9.Caption(), Connected);
  EXPECT_EQ(form.Label24.Caption(), L"Cihaz modeli: Tevrin 4P");
  EXPECT_EQ(form.Label25.Caption(), L"Seri no: TR-0042");
  EXPECT_THAT(form.device().Received, ElementsAre("devicemodel", "serial"));
}

// The status line's tooltip asks the control why only while it is not connected; polling
// never sends the command.
TEST(Timer1Timer, TheReasonIsAskedOnlyWhileNotConnected) {
  Polled form;
  form.device().Reason = L"ncid:10.0.0.1:3333 not connected: connection refused";
  form.handlers.Timer1Timer();
  EXPECT_THAT(form.device().Received, ElementsAre("devicemodel"));
  EXPECT_EQ(form.handlers.NotConnectedReason(), L"ncid:10.0.0.1:3333 not connected: connection refused");
  form.Plug();
  form.handlers.Timer1Timer();
  form.device().Received.clear();
  EXPECT_EQ(form.handlers.NotConnectedReason(), L"");
  EXPECT_THAT(form.device().Received, ::testing::IsEmpty());
}

TEST(Timer1Timer, LosingTheDeviceBlanksTheListOnceAndReconnectingLeavesItAlone) {
  Polled form;
  form.Plug();
  form.handlers.Timer1Timer();
  for (int i = 0; i < 3; ++i) form.Call(L"0212");
  form.Unplug();
  form.handlers.Timer1Timer();

  EXPECT_EQ(form.TextGrid1.RowCount(), 3);
  for (int col = 0; col < 6; ++col) EXPECT_THAT(form.Column(col), Each(L""));
  EXPECT_EQ(form.Label5.Caption(), L"0");
  EXPECT_EQ(form.Label9.Caption(), NotConnected);
  EXPECT_EQ(form.Label24.Caption(), L"");

  form.Call(L"5");
  form.journal.clear();
  form.handlers.Timer1Timer();
  form.handlers.Timer1Timer();
  EXPECT_THAT(form.journal, ::testing::Not(::testing::Contains("Grid.ClearCells")));
  EXPECT_EQ(form.Label5.Caption(), L"1");

  form.Plug();
  form.journal.clear();
  form.handlers.Timer1Timer();
  EXPECT_EQ(form.Label9.Caption(), Connected);
  for (const auto& entry : form.journal) EXPECT_EQ(entry.rfind("Grid.", 0), std::string::npos);
  EXPECT_EQ(form.Column(0).back(), L"1");
}

TEST(Timer1Timer, AStatusTheUserCouldNotTellFromConnectedIsNotTakenForIt) {
  Polled form;
  form.Call(L"1");
  form.Label9.SetCaption(L"bağlantı tamam  hemen arayın");  // case differs
  form.handlers.Timer1Timer();
  EXPECT_EQ(form.Label5.Caption(), L"1");
}

TEST(Timer1Timer, AFailingCommandSkipsTheTickButPollingGoesOn) {
  Polled form;
  form.Plug();
  form.handlers.Timer1Timer();
  form.journal.clear();

  form.device().FailingCommands = 1;
  form.Unplug();
  EXPECT_THROW(form.handlers.Timer1Timer(), common::Error);
  EXPECT_EQ(form.Label9.Caption(), Connected);  // labels keep their texts
  EXPECT_EQ(form.Label24.Caption(), L"Cihaz modeli: Tevrin 4P");
  EXPECT_THAT(form.journal, ElementsAre("Timer1.Disabled", "Timer1.Enabled"));

  form.handlers.Timer1Timer();  // the next tick still sees the loss
  EXPECT_EQ(form.Label9.Caption(), NotConnected);
}

TEST(Timer1Timer, AFailingSerialStopsTheTickAfterTheModel) {
  Polled form;
  form.handlers.Timer1Timer();
  form.Plug();
  form.device().FailingCommand = L"serial";
  EXPECT_THROW(form.handlers.Timer1Timer(), common::Error);
  EXPECT_EQ(form.Label24.Caption(), L"Cihaz modeli: Tevrin 4P");
  EXPECT_EQ(form.Label25.Caption(), L"");
  EXPECT_EQ(form.Label9.Caption(), NotConnected);
  EXPECT_TRUE(form.Timer1.Enabled);
}

TEST(SignalA, LevelsMoveTheMetersAndShowTheConvertedValues) {
  Polled form;
  form.Levels({L"0", L"15", L"30", L"7"});
  EXPECT_EQ(form.ProgressBar1.Position, 0);
  EXPECT_EQ(form.ProgressBar2.Position, 15);
  EXPECT_EQ(form.ProgressBar3.Position, 30);
  EXPECT_EQ(form.ProgressBar4.Position, 7);
  EXPECT_EQ(form.Label1.Caption(), L"0");
  EXPECT_EQ(form.Label2.Caption(), L"15");
  EXPECT_EQ(form.Label3.Caption(), L"30");
  EXPECT_EQ(form.Label4.Caption(), L"7");

  form.Levels({L"07", L" 45", L"$1E", L"-3"});
  EXPECT_EQ(form.Label1.Caption(), L"7");
  EXPECT_EQ(form.Label2.Caption(), L"45");
  EXPECT_EQ(form.Label3.Caption(), L"30");
  EXPECT_EQ(form.Label4.Caption(), L"-3");
}

TEST(SignalA, ABadLevelChangesNothing) {
  Polled form;
  form.Levels({L"0", L"15", L"30", L"7"});
  form.journal.clear();
  EXPECT_THROW(form.Levels({L"9", L"abc", L"9", L"9"}), common::ConvertError);
  EXPECT_THROW(form.Levels({L"9", L"9", L"9", L""}), common::ConvertError);
  EXPECT_TRUE(form.journal.empty());
  EXPECT_EQ(form.ProgressBar1.Position, 0);
  EXPECT_EQ(form.Label2.Caption(), L"15");
}

TEST(SignalA, LinesFiveToEightAreNotRead) {
  Polled form;
  SignalArgs args{{L"1", L"2", L"3", L"4", L"x", L"y", L"", L"?"}};
  EXPECT_NO_THROW(form.device().OnSignalA(*form.handlers.Tevrin51(), args));
  EXPECT_EQ(form.Label4.Caption(), L"4");
}

}  // namespace
}  // namespace monitor::testing
