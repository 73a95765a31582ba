// The cell store and the row operations: reads and writes with their failures and events,
// rows added, inserted and deleted over the independent column lists, the current cell.
#include <gtest/gtest.h>

#include "grid/grid_errors.h"
#include "grid/tests/recording_host.h"
#include "grid/text_grid.h"

namespace grid {
namespace {

using testing::RecordingHost;

std::wstring FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const common::Error& e) {
    return e.Message();
  }
  return L"(none)";
}

class GridCells : public ::testing::Test {
 protected:
  GridCells() {
    grid.SetColCount(2);
    grid.OnColRowChanged = TOnColRowChanged([this](Component& sender, std::int32_t c, std::int32_t r) {
      EXPECT_EQ(&sender, &grid);
      colRowChanges.push_back({c, r});
    });
  }
  StringList Column(std::int32_t col) const { return grid.Columns()[col].Strings(); }

  RecordingHost host;
  TTextGrid grid{host};
  std::vector<Point> colRowChanges;
};

TEST_F(GridCells, ReadsAndWritesWithinTheBounds) {
  grid.SetCells(1, 3, L"Çağrı");
  EXPECT_EQ(grid.Cells(1, 3), L"Çağrı");
  EXPECT_EQ(grid.Cells(0, 4), L"") << "a list shorter than the rows reads as blank";
  EXPECT_EQ(Column(1), (StringList{L"", L"", L"", L"Çağrı"})) << "padded up to the written row";
  EXPECT_EQ(grid.CellText(1, 50), L"");
}

TEST_F(GridCells, IndicesAboveTheLastColumnOrRowRaise) {
  EXPECT_EQ(FailureOf([&] { grid.Cells(2, 0); }), L"Cell Index out of bound.");
  EXPECT_EQ(FailureOf([&] { grid.Cells(0, 5); }), L"Cell Index out of bound.");
  EXPECT_EQ(FailureOf([&] { grid.SetCells(0, 5, L"x"); }), L"Cell Index out of bound.");
  EXPECT_EQ(FailureOf([&] { grid.SetCells(2, 0, L"x"); }), L"Cell Index out of bound.");
  EXPECT_EQ(FailureOf([&] { grid.Cells(0, -1); }), L"List index out of bounds (-1)");
  EXPECT_EQ(FailureOf([&] { grid.Cells(-2, 0); }), L"List index out of bounds (-2)");
  EXPECT_EQ(FailureOf([&] { grid.SetCells(0, -3, L"x"); }), L"List index out of bounds (-3)");
  EXPECT_EQ(FailureOf([&] { grid.CellText(0, -1); }), L"List index out of bounds (-1)");
}

TEST_F(GridCells, WritesToAGridWithoutRowsOrColumnsDoNothing) {
  grid.SetRowCount(0);
  EXPECT_EQ(FailureOf([&] { grid.SetCells(0, 0, L"x"); }), L"(none)");
  EXPECT_EQ(FailureOf([&] { grid.SetCells(7, 9, L"x"); }), L"(none)");
  EXPECT_TRUE(Column(0).empty());
  EXPECT_EQ(FailureOf([&] { grid.Cells(0, 0); }), L"Cell Index out of bound.");
}

TEST_F(GridCells, UserEditsGoThroughTheEventsProgramWritesDoNot) {
  std::vector<std::wstring> log;
  grid.OnCellChanging = TOnCellChanging([&](Component&, std::int32_t c, std::int32_t r, bool& canChange) {
    log.push_back(L"changing " + std::to_wstring(c) + L"," + std::to_wstring(r));
    canChange = true;
  });
  grid.OnCellChange = TOnCellChange([&](Component&, std::int32_t, std::int32_t, std::wstring& str) {
    log.push_back(L"change " + str);
    str += L"!";
  });
  grid.StoreCell(1, 2, true, L"a");
  EXPECT_EQ(grid.Cells(1, 2), L"a!") << "the handler's text is stored";
  EXPECT_EQ(log, (std::vector<std::wstring>{L"changing 1,2", L"change a"}));

  log.clear();
  grid.StoreCell(1, 2, true, L"a!");
  EXPECT_TRUE(log.empty()) << "the same text changes nothing";
  grid.SetCells(1, 2, L"b");
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(grid.Cells(1, 2), L"b");
  grid.StoreCell(1, 2, true, L"B");
  EXPECT_EQ(grid.Cells(1, 2), L"B!") << "comparison is case-sensitive";
}

TEST_F(GridCells, RefusedOrReadOnlyUserEditsLeaveTheCell) {
  grid.SetCells(0, 0, L"old");
  bool changeFired = false;
  grid.OnCellChanging = TOnCellChanging([](Component&, std::int32_t, std::int32_t, bool& canChange) { canChange = false; });
  grid.OnCellChange = TOnCellChange([&](Component&, std::int32_t, std::int32_t, std::wstring&) { changeFired = true; });
  grid.StoreCell(0, 0, true, L"new");
  EXPECT_EQ(grid.Cells(0, 0), L"old");
  EXPECT_FALSE(changeFired);

  grid.OnCellChanging.Clear();
  grid.Columns()[0].SetReadOnly(true);
  grid.StoreCell(0, 0, true, L"new");
  EXPECT_EQ(grid.Cells(0, 0), L"old");
  EXPECT_FALSE(changeFired);
  grid.SetCells(0, 0, L"program");
  EXPECT_EQ(grid.Cells(0, 0), L"program") << "program writes ignore ReadOnly";
}

TEST_F(GridCells, AddRowOnAnEmptyGridMakesTheFirstCellCurrent) {
  grid.SetRowCount(0);
  EXPECT_EQ(grid.CurrentCol(), -1);
  EXPECT_EQ(grid.CurrentRow(), -1);
  colRowChanges.clear();
  EXPECT_EQ(grid.AddRow(), 0);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.CurrentCol(), 0);
  EXPECT_EQ(grid.CurrentRow(), 0);
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 0, 0, 0}));
  EXPECT_EQ(colRowChanges, (std::vector<Point>{{0, 0}}));
}

TEST_F(GridCells, DeleteRowMovesLaterTextsUpAndKeepsTheListLength) {
  grid.SetRowCount(3);
  grid.SetCells(0, 0, L"a");
  grid.SetCells(0, 1, L"b");
  grid.SetCells(0, 2, L"c");
  grid.DeleteRow(0);
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(Column(0), (StringList{L"b", L"c", L""}));
  EXPECT_TRUE(Column(1).empty()) << "a list without the row is left alone";
  EXPECT_EQ(grid.AddRow(), 2);
  EXPECT_EQ(grid.Cells(0, 2), L"");
}

TEST_F(GridCells, DeletingTheOnlyRowLeavesNoCurrentCell) {
  grid.SetRowCount(1);
  colRowChanges.clear();
  grid.DeleteRow(0);
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_EQ(grid.CurrentCol(), -1);
  EXPECT_EQ(grid.CurrentRow(), -1);
  EXPECT_EQ(colRowChanges, (std::vector<Point>{{-1, -1}}));
}

TEST_F(GridCells, RowOperationsOutsideTheRowsAreIgnored) {
  grid.SetCells(0, 4, L"last");
  host.ClearRecords();
  colRowChanges.clear();
  grid.DeleteRow(5);
  grid.DeleteRow(-1);
  grid.InsertRow(5);
  grid.InsertRow(-1);
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.Cells(0, 4), L"last");
  EXPECT_TRUE(host.invalidated.empty());
  EXPECT_TRUE(colRowChanges.empty());
}

TEST_F(GridCells, InsertRowPushesTextsDownAndTheCurrentCellShowsTheNewRow) {
  grid.SetCells(0, 0, L"a");
  grid.SetCells(0, 1, L"b");
  grid.InsertRow(1);
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(Column(0), (StringList{L"a", L"", L"b"}));
  grid.InsertRow(4);
  EXPECT_EQ(Column(0), (StringList{L"a", L"", L"b", L"", L""})) << "padded to the insertion point";
  EXPECT_EQ(Column(1), (StringList{L"", L"", L"", L"", L""}));
}

TEST_F(GridCells, RowCountNeverTouchesTheTexts) {
  grid.SetRowCount(3);
  grid.SetCells(0, 1, L"b");
  grid.SetCells(0, 2, L"c");
  grid.SetRowCount(1);
  EXPECT_EQ(grid.CurrentRow(), 0);
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 0, 0, 0}));
  grid.SetRowCount(3);
  EXPECT_EQ(grid.Cells(0, 1), L"b");
  EXPECT_EQ(grid.Cells(0, 2), L"c");

  grid.SetRowCount(1);
  EXPECT_EQ(grid.AddRow(), 1);
  EXPECT_EQ(grid.Cells(0, 1), L"") << "the appended row is blank";
}

TEST_F(GridCells, RowCountChangeRelaysOutRepaintsAndAlwaysNotifies) {
  host.ClearRecords();
  colRowChanges.clear();
  grid.SetRowCount(8);
  // From the first new row down and the gutter: rows 0 to 4 and the selection stay as drawn.
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{0, 108, 200, 200}, {0, 18, 20, 200}}));
  EXPECT_FALSE(host.scrollBarCalls.empty());
  EXPECT_EQ(colRowChanges, (std::vector<Point>{{0, 0}})) << "fires although the cell did not move";
  grid.SetRowCount(8);
  EXPECT_EQ(colRowChanges.size(), 1u);
}

TEST_F(GridCells, ClearCellsBlanksTheRowsAndKeepsThem) {
  grid.SetRowCount(4);
  grid.SetCells(0, 0, L"a");
  grid.SetCells(1, 3, L"d");
  grid.SetSelectArea({0, 1, 1, 2}, false);
  host.ClearRecords();
  grid.ClearCells();
  EXPECT_EQ(grid.RowCount(), 4);
  for (std::int32_t r = 0; r < 4; ++r) EXPECT_EQ(grid.Cells(0, r) + grid.Cells(1, r), L"");
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 1, 1, 2}));
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{18, 16, 200, 200}}));
}

TEST_F(GridCells, UpdatingLocksUntilEndUpdateWhichRelaysOutAndRepaintsOnce) {
  grid.BeginUpdate();
  grid.BeginUpdate();
  EXPECT_TRUE(grid.Updating());
  host.ClearRecords();
  grid.SetCells(0, 0, L"x");
  EXPECT_TRUE(host.invalidated.empty());
  grid.EndUpdate();
  EXPECT_FALSE(grid.Updating()) << "a flag, not a counter";
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{20, 18, 99, 35}})) << "inside the stored cell's lines";
  EXPECT_FALSE(host.scrollBarCalls.empty());

  // A paint asked for while updating drew nothing, so the end of the update repaints all.
  grid.BeginUpdate();
  grid.SetCells(0, 1, L"y");
  grid.Paint(host.canvas);
  host.ClearRecords();
  grid.EndUpdate();
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{host.Client()}));
}

TEST_F(GridCells, VisibleColumnHelpersSkipHiddenColumns) {
  grid.SetColCount(4);
  grid.Columns()[0].SetVisible(false);
  grid.Columns()[2].SetVisible(false);
  EXPECT_EQ(grid.FirstVisibleCol(), 1);
  EXPECT_EQ(grid.LastVisibleCol(), 3);
  EXPECT_EQ(grid.NextVisibleCol(1), 3);
  EXPECT_EQ(grid.NextVisibleCol(3), 3);
  EXPECT_EQ(grid.PrevVisibleCol(3), 1);
  EXPECT_EQ(grid.PrevVisibleCol(1), 1);
  grid.Columns()[1].SetVisible(false);
  grid.Columns()[3].SetVisible(false);
  EXPECT_EQ(grid.FirstVisibleCol(), -1);
  EXPECT_EQ(grid.LastVisibleCol(), -1);
}

}  // namespace
}  // namespace grid
