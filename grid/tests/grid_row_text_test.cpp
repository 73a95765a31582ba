// A row and the header read out as one text: visible columns only, in order, empty cells kept
// in their place, nothing for a row that does not exist.
#include <gtest/gtest.h>

#include "grid/row_text.h"
#include "grid/tests/call_log_grid.h"
#include "grid/tests/recording_host.h"

namespace grid {
namespace {

TEST(GridRowText, ReadsTheVisibleCellsAndTitlesInColumnOrder) {
  testing::RecordingHost host{{600, 250}};
  TTextGrid grid{host};
  testing::ConfigureAsCallLog(grid);
  EXPECT_EQ(RowText(grid, 0), L"");
  testing::LogCall(grid, 1);
  testing::LogCall(grid, 2);
  grid.SetCells(5, 1, L"");
  EXPECT_EQ(RowText(grid, 0), L"1, 2, 05321234567, 08.12.2026 01:02:03, KP-0042, Ek");
  EXPECT_EQ(RowText(grid, 1), L"2, 2, 05321234567, 08.12.2026 01:02:03, KP-0042, ");
  EXPECT_EQ(RowText(grid, 2), L"");
  EXPECT_EQ(RowText(grid, -1), L"");
  EXPECT_EQ(HeaderText(grid), L"Sıra, HatNo, Arayan numara, Zaman, Cihaz Seri No, Ek bilgi");

  grid.Columns()[1].SetVisible(false);
  grid.Columns()[0].SetVisible(false);
  EXPECT_EQ(RowText(grid, 0), L"05321234567, 08.12.2026 01:02:03, KP-0042, Ek");
  EXPECT_EQ(HeaderText(grid), L"Arayan numara, Zaman, Cihaz Seri No, Ek bilgi");
}

}  // namespace
}  // namespace grid
