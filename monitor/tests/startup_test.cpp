// Start-up and shut-down: the order of FormCreate, the installation texts when the device
// control is missing or fails, the one-time raise, and the close.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "monitor/tests/fake_form.h"

namespace monitor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(FormCreate, PreparesTheWindowThenTheMutexCounterAndDeviceInOrder) {
  FakeForm form;
  form.beeps.ProcessId = 4321;
  form.handlers.FormCreate();

  EXPECT_THAT(form.journal,
              ElementsAre("Form.PrepareForShow", "Form.ProcessMessages", "Label5=0",
                          "ProgressBar1.Smooth", "ProgressBar2.Smooth", "ProgressBar3.Smooth",
                          "ProgressBar4.Smooth"));
  EXPECT_THAT(form.beeps.MutexNames, ElementsAre("4321.b..1"));
  EXPECT_THAT(form.device().Received,
              ElementsAre("bind OnSignalA", "bind OnCallerID", "+:~.-q", "Start"));
  EXPECT_NE(form.handlers.Tevrin51(), nullptr);
  EXPECT_EQ(form.handlers.CallCount(), 0);
  EXPECT_EQ(form.Label9.Caption(), L"--");
}

TEST(FormCreate, MissingDeviceControlShowsTheInstallationTextsAndLeavesNoControl) {
  FakeForm form;
  form.devices.Installed = false;
  form.handlers.FormCreate();

  EXPECT_EQ(form.Label5.Caption(), L"");
  EXPECT_EQ(form.Label22.Caption(), L"Dosyalar eksik.");
  EXPECT_EQ(form.Label9.Caption(), L"Kurulumu tamamlayınız.");
  EXPECT_EQ(form.handlers.Tevrin51(), nullptr);
  EXPECT_FALSE(form.ProgressBar1.Smooth);
  EXPECT_THAT(form.beeps.MutexNames, ElementsAre("1234.b..1"));  // made before the device

  // Polling does nothing, closing sends nothing and is allowed.
  form.journal.clear();
  form.handlers.Timer1Timer();
  EXPECT_THAT(form.journal, IsEmpty());
  bool canClose = false;
  form.handlers.FormCloseQuery(canClose);
  EXPECT_TRUE(canClose);
}

TEST(FormCreate, FailingStartKeepsTheControlBoundAndTheFirstPollOverwritesTheStatus) {
  FakeForm form;
  form.device().StartFails = true;
  form.handlers.FormCreate();

  EXPECT_EQ(form.Label22.Caption(), L"Dosyalar eksik.");
  EXPECT_EQ(form.Label9.Caption(), L"Kurulumu tamamlayınız.");
  EXPECT_EQ(form.Label5.Caption(), L"");
  ASSERT_NE(form.handlers.Tevrin51(), nullptr);
  EXPECT_FALSE(form.ProgressBar4.Smooth);  // the block ended at Start

  form.device().Model = L"KX-4";
  form.handlers.Timer1Timer();
  EXPECT_EQ(form.Label9.Caption(), L"Bağlantı tamam  Hemen arayın");
  form.Call(L"05321234567");  // events stay bound
  EXPECT_EQ(form.TextGrid1.RowCount(), 1);
}

TEST(FormCreate, FailingAccessCodeSkipsStart) {
  FakeForm form;
  form.device().FailingCommands = 1;
  form.handlers.FormCreate();
  EXPECT_THAT(form.device().Received, ElementsAre("bind OnSignalA", "bind OnCallerID", "+:~.-q"));
  EXPECT_EQ(form.Label9.Caption(), L"Kurulumu tamamlayınız.");
}

TEST(Timer2Timer, StopsItselfAndRaisesTheApplication) {
  FakeForm form;
  form.Start();
  form.handlers.Timer2Timer();
  EXPECT_THAT(form.journal, ElementsAre("Timer2.Disabled", "Form.BringToFront"));
  EXPECT_FALSE(form.Timer2.Enabled);
}

TEST(Closing, ExitItemClosesTheWindowAndTheCloseSendsTestStop) {
  FakeForm form;
  form.Start();
  form.handlers.ki1Click();
  EXPECT_THAT(form.journal, ElementsAre("Form.Close"));

  bool canClose = false;
  form.handlers.FormCloseQuery(canClose);
  EXPECT_TRUE(canClose);
  EXPECT_THAT(form.device().Received, ElementsAre("test_stop"));

  form.handlers.DestroyDevice();
  EXPECT_FALSE(form.device().Alive);
  EXPECT_EQ(form.handlers.Tevrin51(), nullptr);
}

TEST(Closing, AFailingTestStopStillLetsTheWindowClose) {
  FakeForm form;
  form.Start();
  form.device().FailingCommands = 1;
  bool canClose = false;
  EXPECT_THROW(form.handlers.FormCloseQuery(canClose), common::Error);
  EXPECT_TRUE(canClose);
}

}  // namespace
}  // namespace monitor::testing
