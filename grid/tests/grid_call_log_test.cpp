// The call log's own use of the grid: keep 10 rows, append one, write its six cells in one
// update, and clear the list; what it repaints and which events it fires.
#include <gtest/gtest.h>

#include "grid/tests/call_log_grid.h"
#include "grid/tests/recording_host.h"
#include "grid/text_grid.h"

namespace grid {
namespace {

using testing::RecordingHost;

class CallLogGrid : public ::testing::Test {
 protected:
  CallLogGrid() {
    testing::ConfigureAsCallLog(grid);
    grid.OnColRowChanged = TOnColRowChanged(
        [this](Component&, std::int32_t c, std::int32_t r) { colRowChanges.push_back({c, r}); });
    host.ClearRecords();
  }
  RecordingHost host{{600, 250}};
  TTextGrid grid{host};
  std::vector<Point> colRowChanges;
};

TEST_F(CallLogGrid, TheFirstCallAppendsOneRowAndRepaintsAfterTheUpdate) {
  testing::LogCall(grid, 1);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.Cells(0, 0), L"1");
  EXPECT_EQ(grid.Cells(3, 0), L"08.12.2026 01:02:03");
  EXPECT_EQ(grid.Cells(5, 0), L"Ek");
  // AddRow repaints from the new row down with the selection, EndUpdate the six cells.
  EXPECT_EQ(host.invalidated,
            (std::vector<Rect>{{0, 18, 600, 250}, {-3, 15, 3, 21}, {-4, 14, 51, 39}, {0, 18, 599, 35}}));
  EXPECT_EQ(colRowChanges, (std::vector<Point>{{0, 0}}));
  EXPECT_FALSE(grid.Updating());
}

TEST_F(CallLogGrid, KeepsTheLastElevenCallsInOrder) {
  for (std::int32_t call = 1; call <= 25; ++call) testing::LogCall(grid, call);
  ASSERT_EQ(grid.RowCount(), 11);
  for (std::int32_t row = 0; row < 11; ++row) EXPECT_EQ(grid.Cells(0, row), std::to_wstring(15 + row));
  for (std::int32_t col = 0; col < 6; ++col)
    EXPECT_EQ(grid.Columns()[col].Strings().size(), 11u) << "the lists do not grow with the calls";
  EXPECT_EQ(grid.CurrentRow(), 0);
  EXPECT_FALSE(host.horizontalBar);
  EXPECT_EQ(grid.ColumnsWidth(), 600);
}

// On a full list the ten rows kept move up as a picture: only the new row is drawn, with the
// selection frame on row 0.
TEST_F(CallLogGrid, ACallOnAFullListMovesTheRowsUpAndDrawsOnlyTheNewRow) {
  for (std::int32_t call = 1; call <= 11; ++call) testing::LogCall(grid, call);
  host.ClearRecords();
  testing::LogCall(grid, 12);
  const std::int32_t rowHeight = grid.DefRowHeight();
  const std::int32_t lastRowTop = 18 + 10 * rowHeight - 1;
  ASSERT_EQ(host.scrolled.size(), 1u);
  EXPECT_EQ(host.scrolled[0], (std::pair{Rect{0, 18, 600, 250}, rowHeight}));
  const Rect selection{-4, 14, 43, 39};
  for (const Rect& rect : host.invalidated) {
    const bool newRowOrBelow = rect.top >= lastRowTop;
    const bool aroundRowZero = rect.bottom <= selection.bottom;
    EXPECT_TRUE(newRowOrBelow || aroundRowZero) << rect.top << ".." << rect.bottom;
  }
  EXPECT_EQ(grid.Cells(0, 10), L"12");
}

TEST_F(CallLogGrid, EachCallOnAFullListNotifiesTwice) {
  for (std::int32_t call = 1; call <= 11; ++call) testing::LogCall(grid, call);
  colRowChanges.clear();
  testing::LogCall(grid, 12);
  // DeleteRow(0) and AddRow each change the row count and notify.
  EXPECT_EQ(colRowChanges, (std::vector<Point>{{0, 0}, {0, 0}}));
}

TEST_F(CallLogGrid, ClearingTheListBlanksTheRowsAndRepaintsTheCells) {
  for (std::int32_t call = 1; call <= 3; ++call) testing::LogCall(grid, call);
  host.ClearRecords();
  grid.ClearCells();
  EXPECT_EQ(grid.RowCount(), 3);
  for (std::int32_t col = 0; col < 6; ++col) EXPECT_EQ(grid.Cells(col, 2), L"");
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{-2, 16, 600, 250}}));
  testing::LogCall(grid, 4);
  EXPECT_EQ(grid.Cells(0, 3), L"4");
  EXPECT_EQ(grid.Cells(0, 0), L"");
}

TEST_F(CallLogGrid, EveryColumnHasItsOwnCentredHeaderCell) {
  ASSERT_EQ(grid.HeaderSpans().size(), 6u);
  EXPECT_EQ(grid.HeaderSpans()[2], (HeaderSpan{L"Arayan numara", 2, 0, 2, 0}));
  EXPECT_EQ(grid.Columns()[4].HorzAlign(), THorzAlign::haCenter);
  EXPECT_EQ(grid.Font().charset, charset::Turkish);
  EXPECT_EQ(grid.Columns()[0].Font().height, -15);
  EXPECT_EQ(grid.HeaderFont().height, -14);
}

}  // namespace
}  // namespace grid
