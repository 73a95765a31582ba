// Copy, cut and paste over the host's clipboard text: single cells and blocks, hidden and
// read-only columns, refusing events, and one repaint of the cells afterwards.
#include <gtest/gtest.h>

#include "grid/tests/recording_host.h"
#include "grid/text_grid.h"

namespace grid {
namespace {

using testing::RecordingHost;

class GridClipboard : public ::testing::Test {
 protected:
  GridClipboard() {
    grid.SetGutterKind(TGutterKind::gkNone);
    grid.SetColCount(3);
    grid.SetRowCount(4);
    grid.SetCells(0, 0, L"a");
    grid.SetCells(1, 0, L"b");
    grid.SetCells(0, 1, L"c");
    grid.SetCells(1, 1, L"d");
    host.ClearRecords();
  }
  std::wstring Row(std::int32_t row) const {
    return grid.Cells(0, row) + L"," + grid.Cells(1, row) + L"," + grid.Cells(2, row);
  }
  Rect CellsRepaint() const { return {-2, 16, 300, 200}; }

  RecordingHost host{{300, 200}};
  TTextGrid grid{host};
};

TEST_F(GridClipboard, CopyJoinsCellsWithTabsAndEndsEveryLine) {
  grid.SetSelectArea({0, 0, 1, 1}, false);
  grid.CopyToClipboard();
  EXPECT_EQ(host.clipboard, L"a\tb\r\nc\td\r\n");
}

TEST_F(GridClipboard, CopySkipsHiddenColumns) {
  grid.SetCells(2, 0, L"e");
  grid.Columns()[1].SetVisible(false);
  grid.SetSelectArea({0, 0, 2, 0}, false);
  grid.CopyToClipboard();
  EXPECT_EQ(host.clipboard, L"a\te\r\n");
  grid.SetSelectArea({1, 0, 2, 0}, false);
  grid.CopyToClipboard();
  EXPECT_EQ(host.clipboard, L"e\r\n") << "no separator before the first visible column";
}

TEST_F(GridClipboard, CopyOfAGridWithoutCellsIsEmpty) {
  grid.SetRowCount(0);
  grid.CopyToClipboard();
  EXPECT_EQ(host.clipboard, L"");
}

TEST_F(GridClipboard, CutEmptiesCellsAsUserEditsAndRepaintsOnce) {
  grid.Columns()[1].SetReadOnly(true);
  std::vector<std::int32_t> changing;
  grid.OnCellChanging = TOnCellChanging([&](Component&, std::int32_t c, std::int32_t r, bool& canChange) {
    changing.push_back(c * 10 + r);
    canChange = r != 1;
  });
  grid.SetSelectArea({0, 0, 1, 1}, false);
  host.ClearRecords();
  grid.CutToClipboard();
  EXPECT_EQ(host.clipboard, L"a\tb\r\nc\td\r\n");
  EXPECT_EQ(Row(0), L",b,") << "the read-only column keeps its text";
  EXPECT_EQ(Row(1), L"c,d,") << "the refused cell keeps its text";
  EXPECT_EQ(changing, (std::vector<std::int32_t>{0, 1}));
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{CellsRepaint()}));
  EXPECT_FALSE(grid.Updating());
}

TEST_F(GridClipboard, PasteOneCellOverABlockFillsTheBlock) {
  host.clipboard = L"x";
  grid.SetSelectArea({0, 1, 2, 2}, false);
  host.ClearRecords();
  grid.PasteFromClipboard();
  EXPECT_EQ(Row(0), L"a,b,");
  EXPECT_EQ(Row(1), L"x,x,x");
  EXPECT_EQ(Row(2), L"x,x,x");
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{CellsRepaint()}));
}

TEST_F(GridClipboard, PasteAtTheCurrentCellDropsLinesBeyondTheLastRow) {
  host.clipboard = L"1\t2\t3\r\n4\r5\t6\n7\r\n8";
  grid.PasteFromClipboard();
  EXPECT_EQ(Row(0), L"1,2,3");
  EXPECT_EQ(Row(1), L"4,,") << "short lines are padded with blanks";
  EXPECT_EQ(Row(2), L"5,6,");
  EXPECT_EQ(Row(3), L"7,,");
  EXPECT_EQ(grid.RowCount(), 4);
  EXPECT_EQ(grid.Columns()[0].Strings().size(), 4u) << "the fifth line is dropped";
}

TEST_F(GridClipboard, PasteSkipsHiddenColumnsAndHonoursReadOnlyAndEvents) {
  grid.Columns()[1].SetVisible(false);
  host.clipboard = L"p\tq\r\n";
  grid.PasteFromClipboard();
  EXPECT_EQ(Row(0), L"p,b,q");

  grid.Columns()[1].SetVisible(true);
  grid.Columns()[2].SetReadOnly(true);
  grid.OnCellChange = TOnCellChange([](Component&, std::int32_t, std::int32_t, std::wstring& str) { str += L"!"; });
  host.clipboard = L"r\ts\tt";
  grid.PasteFromClipboard();
  EXPECT_EQ(Row(0), L"r!,s!,q");
}

TEST_F(GridClipboard, PasteOverABlockRepeatsTheClipboardBlock) {
  grid.SetRowCount(5);
  host.clipboard = L"1\t2\r\n3\r\n";
  grid.SetSelectArea({0, 0, 2, 4}, false);
  grid.PasteFromClipboard();
  EXPECT_EQ(Row(0), L"1,2,1");
  EXPECT_EQ(Row(1), L"3,,3");
  EXPECT_EQ(Row(2), L"1,2,1");
  EXPECT_EQ(Row(3), L"3,,3");
  EXPECT_EQ(Row(4), L"1,2,1");
}

TEST_F(GridClipboard, PasteWithNoTextOrEmptyTextStoresNothing) {
  host.clipboard.reset();
  grid.PasteFromClipboard();
  EXPECT_TRUE(host.invalidated.empty());
  host.clipboard = L"";
  grid.SetSelectArea({0, 0, 1, 1}, false);
  host.ClearRecords();
  grid.PasteFromClipboard();
  EXPECT_EQ(Row(0), L"a,b,");
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{CellsRepaint()}));
}

TEST_F(GridClipboard, ThreeFieldsPastedAtTheLastColumnStoreOnlyTheFirst) {
  grid.SetColCount(1);  // clamps the current cell to column 0: the last column
  host.clipboard = L"u\tv\tw";
  grid.PasteFromClipboard();
  EXPECT_EQ(grid.Cells(0, 0), L"u");
  EXPECT_EQ(grid.ColCount(), 1);
}

// A paste repaints the cells itself, and a paint it held back at once: the next update then
// repaints only the cell it stored.
TEST_F(GridClipboard, APasteLeavesTheNextUpdateOnlyItsOwnCells) {
  host.clipboard = L"x\ty\r\nz\tw";
  grid.OnCellChange = TOnCellChange([&](Component&, std::int32_t, std::int32_t, std::wstring&) {
    grid.Paint(host.canvas);  // a handler that lets a paint through
  });
  grid.PasteFromClipboard();
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{host.Client(), CellsRepaint()}));
  host.ClearRecords();
  grid.BeginUpdate();
  grid.SetCells(2, 3, L"v");
  grid.EndUpdate();
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{160, 72, 239, 89}})) << "inside the stored cell's lines";
}

}  // namespace
}  // namespace grid
