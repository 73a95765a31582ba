// The call log: rows trimmed and appended, the counter, six cells in one update, the
// balloon and one beep per call, and clearing the list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "monitor/tests/fake_form.h"

namespace monitor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::Each;

std::vector<std::wstring> Numbers(int from, int to) {
  std::vector<std::wstring> texts;
  for (int i = from; i <= to; ++i) texts.push_back(std::to_wstring(i));
  return texts;
}

TEST(CallerID, FirstCallFillsOneRowCountsAnnouncesAndBeepsInOrder) {
  FakeForm form;
  form.Start();
  form.device().OnCallerID(*form.handlers.Tevrin51(),
                           {L"SN-77", L"3", L"05551112233", L"08.12.2026 10:11:12", L"mobil"});

  EXPECT_THAT(form.journal,
              ElementsAre("Grid.AddRow", "Label5=1", "Grid.BeginUpdate", "Grid.Cell 0,0=1",
                          "Grid.Cell 1,0=3", "Grid.Cell 2,0=05551112233",
                          "Grid.Cell 3,0=08.12.2026 10:11:12", "Grid.Cell 4,0=SN-77",
                          "Grid.Cell 5,0=mobil", "Grid.EndUpdate",
                          "Balloon Çağrı: 1|05551112233|1|10"));
  EXPECT_EQ(form.beeps.Pending.size(), 1u);
  EXPECT_EQ(form.handlers.CallCount(), 1);
}

TEST(CallerID, TwelveCallsKeepElevenRowsHoldingCallsTwoToTwelve) {
  FakeForm form;
  form.Start();
  for (int i = 1; i <= 12; ++i) form.Call(L"0555000" + std::to_wstring(i));

  EXPECT_EQ(form.TextGrid1.RowCount(), 11);
  EXPECT_EQ(form.Column(0), Numbers(2, 12));
  EXPECT_EQ(form.Column(2).front(), L"05550002");
  EXPECT_EQ(form.Label5.Caption(), L"12");
  EXPECT_EQ(form.journal.back(), "Balloon Çağrı: 12|055500012|1|10");
  EXPECT_EQ(form.beeps.Pending.size(), 12u);

  for (int i = 13; i <= 40; ++i) form.Call(L"1");
  EXPECT_EQ(form.TextGrid1.RowCount(), 11);
  EXPECT_EQ(form.Column(0), Numbers(30, 40));
}

TEST(CallerID, TextsKeepEveryLetterAsTheDeviceSentThem) {
  FakeForm form;
  form.Start();
  const std::wstring other = L"Şişli ığüöç İĞÜÖÇ — Ελλάδα 漢字";
  form.device().OnCallerID(*form.handlers.Tevrin51(), {L"Çİ-1", L"2", L"+90 (212) ŞŞ", L"", other});
  EXPECT_EQ(form.TextGrid1.Rows[0][5], other);
  EXPECT_EQ(form.TextGrid1.Rows[0][4], L"Çİ-1");
  EXPECT_EQ(form.journal.back(), "Balloon Çağrı: 1|+90 (212) ŞŞ|1|10");
}

TEST(Listeyisil, EmptiesTheListAndTheNextCallIsNumberOne) {
  FakeForm form;
  form.Start();
  for (int i = 0; i < 5; ++i) form.Call(L"1");
  form.handlers.Listeyisil1Click();
  EXPECT_EQ(form.TextGrid1.RowCount(), 0);
  EXPECT_EQ(form.Label5.Caption(), L"0");

  form.Call(L"2");
  EXPECT_EQ(form.Column(0), Numbers(1, 1));
  EXPECT_EQ(form.Label5.Caption(), L"1");
}

TEST(CallerID, AfterTheLossResetBlankRowsGoFirstAndNumberingRestarts) {
  FakeForm form;
  form.Start();
  form.device().Model = L"KX";
  form.handlers.Timer1Timer();
  for (int i = 0; i < 11; ++i) form.Call(L"1");
  form.device().Model = L"";
  form.handlers.Timer1Timer();  // device lost: 11 blank rows, counter 0
  EXPECT_THAT(form.Column(0), Each(L""));

  form.Call(L"9");
  EXPECT_EQ(form.TextGrid1.RowCount(), 11);
  EXPECT_EQ(form.Column(0).back(), L"1");
  EXPECT_EQ(form.Column(0).front(), L"");
}

}  // namespace
}  // namespace monitor::testing
