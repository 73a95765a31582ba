// TextGrid1 with the real grid: configured as the window describes it, and the call log's
// rows, counter and reset read back from the grid's own cells.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "grid/tests/recording_host.h"
#include "monitor/form1_layout.h"
#include "monitor/tests/fake_form.h"
#include "monitor/text_grid1.h"

namespace monitor::testing {
namespace {

using ::testing::ElementsAre;

struct RealGrid {
  grid::testing::RecordingHost host{{553, 226}};
  grid::TTextGrid grid{host};
  TextGrid1CallList list{grid};
};

TEST(TextGrid1, IsConfiguredAsTheCallList) {
  RealGrid real;
  ConfigureTextGrid1(real.grid, 114);
  auto& grid = real.grid;
  EXPECT_EQ(grid.ColCount(), 6);
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_FALSE(grid.Flat());
  EXPECT_TRUE(grid.FitToWidth());
  EXPECT_TRUE(grid.ReadOnly());
  EXPECT_EQ(grid.GutterKind(), grid::TGutterKind::gkNone);
  EXPECT_EQ(grid.GutterWidth(), 0);
  EXPECT_FALSE(grid.ShowFooter());
  EXPECT_EQ(grid.Cursor(), 101);
  EXPECT_EQ(grid.HeaderFont().height, -14);
  EXPECT_EQ(grid.FooterFont().height, -16);
  EXPECT_EQ(grid.Font().height, -15);
  EXPECT_EQ(grid.Font().charset, grid::charset::Turkish);
  std::vector<std::wstring> titles;
  for (std::int32_t i = 0; i < 6; ++i) {
    titles.push_back(grid.Columns()[i].Title());
    EXPECT_EQ(grid.Columns()[i].HorzAlign(), grid::THorzAlign::haCenter);
  }
  EXPECT_THAT(titles, ElementsAre(L"Sıra", L"HatNo", L"Arayan numara", L"Zaman", L"Cihaz Seri No", L"Ek bilgi"));
}

TEST(TextGrid1, FontsAndRowsScaleWithTheScreenSoThatElevenRowsShow) {
  for (const std::int32_t ppi : {96, 114, 144}) {
    // The grid's client area: its designed size, scaled, less the sunken edge.
    grid::testing::RecordingHost host{{ScaleFromDesign(553, ppi) - 4, ScaleFromDesign(226, ppi) - 4}};
    grid::TTextGrid grid{host};
    ConfigureTextGrid1(grid, ppi);
    EXPECT_EQ(grid.Font().height, -ScaleFromDesign(15, ppi));
    EXPECT_EQ(grid.HeaderFont().height, -ScaleFromDesign(14, ppi));
    EXPECT_EQ(grid.Font().pixelsPerInch, ppi);
    for (int row = 0; row < 11; ++row) grid.AddRow();
    EXPECT_EQ(grid.VScrollMax(), 0) << ppi;
    EXPECT_LE(grid.CellRect(0, 10).bottom, host.window.height) << ppi;
  }
}

// The handlers over the real grid, every other control a fake.
struct FormOverRealGrid : FakeForm {
  RealGrid real;
  TForm1Handlers onGrid{Form1Controls{Form, Label1, Label2, Label3, Label4, Label5, Label9, Label22,
                                      Label24, Label25, ProgressBar1, ProgressBar2, ProgressBar3,
                                      ProgressBar4, Timer1, Timer2, real.list, TrayIcon1},
                        devices, beeps};
  FormOverRealGrid() {
    ConfigureTextGrid1(real.grid, 114);
    onGrid.FormCreate();
  }
  void Call(int number) {
    device().OnCallerID(*onGrid.Tevrin51(), {L"KP-7", L"2", L"0555" + std::to_wstring(number), L"t", L"ek"});
  }
  std::vector<std::wstring> Column(std::int32_t col) {
    std::vector<std::wstring> texts;
    for (std::int32_t row = 0; row < real.grid.RowCount(); ++row) texts.push_back(real.grid.Cells(col, row));
    return texts;
  }
};

TEST(TextGrid1, TwelveCallsLeaveCallsTwoToTwelveInTheGrid) {
  FormOverRealGrid form;
  for (int i = 1; i <= 12; ++i) form.Call(i);
  EXPECT_EQ(form.real.grid.RowCount(), 11);
  std::vector<std::wstring> expected;
  for (int i = 2; i <= 12; ++i) expected.push_back(std::to_wstring(i));
  EXPECT_EQ(form.Column(0), expected);
  EXPECT_EQ(form.real.grid.Cells(2, 10), L"055512");
  EXPECT_EQ(form.real.grid.Cells(5, 0), L"ek");
  EXPECT_FALSE(form.real.grid.Updating());
}

TEST(TextGrid1, LosingTheDeviceBlanksTheGridAndKeepsItsRows) {
  FormOverRealGrid form;
  form.device().Model = L"KX";
  form.onGrid.Timer1Timer();
  for (int i = 1; i <= 4; ++i) form.Call(i);
  form.device().Model = L"";
  form.onGrid.Timer1Timer();
  EXPECT_EQ(form.real.grid.RowCount(), 4);
  for (std::int32_t col = 0; col < 6; ++col) EXPECT_THAT(form.Column(col), ::testing::Each(L""));

  form.onGrid.Listeyisil1Click();
  EXPECT_EQ(form.real.grid.RowCount(), 0);
  form.Call(5);
  EXPECT_EQ(form.Column(0), std::vector<std::wstring>{L"1"});
}

}  // namespace
}  // namespace monitor::testing
