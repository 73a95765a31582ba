// The mouse: the hit test's zones and cursors, clicks in every zone, block, header, gutter
// and fill-handle drags, the tiled fill copy, and column resizing.
#include <gtest/gtest.h>

#include "grid/tests/recording_host.h"
#include "grid/text_grid.h"

namespace grid {
namespace {

using testing::RecordingHost;
using namespace shift;

// A 20-pixel gutter, three columns of 50, eight rows: cell (c, r) covers client x
// 20 + 50c .. 20 + 50c + 49 and y 18 + 18r .. 18 + 18r + 17; content x = client x - 20.
class GridMouse : public ::testing::Test {
 protected:
  GridMouse() {
    grid.SetColCount(3);
    for (std::int32_t i = 0; i < 3; ++i) grid.Columns()[i].SetWidth(50);
    grid.SetRowCount(8);
    grid.OnColRowChanged = TOnColRowChanged([this](Component&, std::int32_t c, std::int32_t r) {
      notified.push_back({c, r});
    });
    grid.FocusGained();  // the caret flag is shared by every grid: start from a fresh caret
    host.ClearRecords();
  }
  static std::int32_t X(std::int32_t col) { return 20 + 50 * col + 25; }
  static std::int32_t Y(std::int32_t row) { return 18 + 18 * row + 9; }
  void Hover(std::int32_t x, std::int32_t y) { grid.MouseMove(0, x, y); }
  void Click(std::int32_t x, std::int32_t y) {
    Hover(x, y);
    grid.MouseDown(TMouseButton::mbLeft, ssLeft, x, y);
    grid.MouseUp(TMouseButton::mbLeft, 0, x, y);
  }
  void Drag(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    Hover(x0, y0);
    grid.MouseDown(TMouseButton::mbLeft, ssLeft, x0, y0);
    grid.MouseMove(ssLeft, x1, y1);
    grid.MouseUp(TMouseButton::mbLeft, 0, x1, y1);
  }
  Point Current() const { return {grid.CurrentCol(), grid.CurrentRow()}; }
  // Presses a button on the fill handle of the selected block, drawn focused.
  void PressHandle(TMouseButton button = TMouseButton::mbLeft, TShiftState state = ssLeft) {
    host.focused = true;
    grid.Paint(host.canvas);
    const Rect handle = grid.FillHandleRect();
    Hover(handle.left + 1, handle.top + 1);
    EXPECT_EQ(grid.Zone(), HitZone::FillHandle);
    grid.MouseDown(button, state, handle.left + 1, handle.top + 1);
  }

  RecordingHost host{{300, 300}};
  TTextGrid grid{host};
  std::vector<Point> notified;
};

TEST_F(GridMouse, EachZoneHasItsCursorAndTheEdgesAreStrict) {
  struct Case {
    std::int32_t x, y;
    HitZone zone;
    std::int32_t cursor;
  } cases[] = {
      {5, 5, HitZone::Corner, cursor::LeftTop},   {5, Y(2), HitZone::Gutter, cursor::Right},
      {X(1), 5, HitZone::Header, cursor::Down},   {X(1), Y(2), HitZone::Cell, cursor::Plus},
      {20 + 50, Y(2), HitZone::ColumnEdge, cursor::HSplit}, {20 + 51, 5, HitZone::ColumnEdge, cursor::HSplit},
      {20 + 52, Y(2), HitZone::Cell, cursor::Plus}, {20, Y(2), HitZone::None, cursor::Default},
      {X(1), 18, HitZone::None, cursor::Default}, {X(1), Y(8), HitZone::None, cursor::Default},
      {5, Y(8), HitZone::None, cursor::Default},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    Hover(c.x, c.y);
    EXPECT_EQ(grid.Zone(), c.zone);
    EXPECT_EQ(host.cursor, c.cursor);
    EXPECT_EQ(grid.Cursor(), c.cursor);
  }
  grid.Columns()[1].SetCanResize(false);
  Hover(20 + 100, Y(1));
  EXPECT_EQ(grid.Zone(), HitZone::Cell) << "no edge zone for a fixed column";
  EXPECT_EQ(grid.SizingCol(), 1);
}

TEST_F(GridMouse, TheFillHandleIsFoundWhereItWasDrawn) {
  host.focused = true;
  grid.Paint(host.canvas);
  // Cell (0, 0) is (19, 17)..(70, 36); its handle (67, 33)..(73, 39) covers the edge.
  Hover(68, 34);
  EXPECT_EQ(grid.Zone(), HitZone::FillHandle);
  EXPECT_EQ(host.cursor, cursor::Cross);
}

TEST_F(GridMouse, AClickMovesTheCurrentCellAndTakesFocusAndCapture) {
  Click(X(2), Y(3));
  EXPECT_EQ(Current(), (Point{2, 3}));
  EXPECT_EQ(grid.SelectArea(), (Rect{2, 3, 2, 3}));
  EXPECT_EQ(notified, (std::vector<Point>{{2, 3}}));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"SetCapture", "SetFocus", "ReleaseCapture"}));
  EXPECT_FALSE(host.editBox.visible) << "a click on another cell opens no editor";
}

TEST_F(GridMouse, AClickOnTheCurrentCellOpensTheEditorUnlessReadOnly) {
  grid.SetCells(1, 1, L"metin");
  Click(X(1), Y(1));
  grid.SetReadOnly(true);
  Click(X(1), Y(1));
  EXPECT_FALSE(host.editBox.visible);
  grid.SetReadOnly(false);
  grid.Columns()[1].SetReadOnly(true);
  Click(X(1), Y(1));
  EXPECT_FALSE(host.editBox.visible);
  grid.Columns()[1].SetReadOnly(false);
  Click(X(1), Y(1));
  EXPECT_TRUE(host.editBox.visible);
  EXPECT_TRUE(grid.EditorShown());
  EXPECT_EQ(host.editBox.text, L"metin");
  EXPECT_EQ(notified.size(), 4u) << "every click notifies";
}

TEST_F(GridMouse, HeaderClickSelectsTheColumnAndHeaderDragsRepaintOnlyOnANewColumn) {
  std::vector<std::int32_t> clicked;
  grid.OnHeaderClick = TOnHeaderClick([&](Component&, std::int32_t c, TMouseButton, TShiftState) { clicked.push_back(c); });
  Hover(X(1), 5);
  grid.MouseDown(TMouseButton::mbRight, ssRight, X(1), 5);
  EXPECT_EQ(Current(), (Point{1, 0}));
  EXPECT_EQ(grid.SelectArea(), (Rect{1, 0, 1, 7}));
  EXPECT_EQ(grid.FillHandleCorner(), 1);
  EXPECT_EQ(clicked, (std::vector<std::int32_t>{1}));
  host.ClearRecords();
  grid.MouseMove(ssLeft, X(1) + 5, 5);
  EXPECT_TRUE(host.invalidated.empty());
  grid.MouseMove(ssLeft, X(2), 100);
  EXPECT_EQ(grid.SelectArea(), (Rect{1, 0, 2, 7}));
  EXPECT_EQ(host.invalidated.size(), 1u);
  grid.MouseMove(ssLeft, X(2) + 3, 150);
  EXPECT_EQ(host.invalidated.size(), 1u);
  grid.MouseUp(TMouseButton::mbRight, 0, X(2), 150);
  EXPECT_EQ(grid.DragLineIndex(), -1);
}

TEST_F(GridMouse, TheFillHandleGoesToTheCornerAColumnOrRowSelectionAsksFor) {
  host.focused = true;
  Click(X(1), 5);  // column 1: block (69, 17)..(120, 162)
  grid.Paint(host.canvas);
  EXPECT_EQ(grid.FillHandleRect(), (Rect{117, 19, 123, 25})) << "top right";
  EXPECT_EQ(grid.FillHandleCorner(), 0) << "back to bottom-right after drawing";
  Click(5, Y(2));  // row 2: block (19, 53)..(170, 72)
  grid.Paint(host.canvas);
  EXPECT_EQ(grid.FillHandleRect(), (Rect{21, 69, 27, 75})) << "bottom left";
  grid.Paint(host.canvas);
  EXPECT_EQ(grid.FillHandleRect(), (Rect{167, 69, 173, 75}));
}

TEST_F(GridMouse, AFillDragOutlinesItsSourceBlockDotted) {
  PressHandle();
  grid.MouseMove(ssLeft, X(0), Y(3));
  EXPECT_EQ(grid.FillArea(), (Rect{0, 0, 0, 0}));
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 0, 0, 3}));
  host.canvas.Clear();
  grid.Paint(host.canvas);
  // Cell (0, 0) is (19, 17)..(70, 36): a dotted black line along its bottom inside the block.
  int black = 0, other = 0;
  for (int x = 24; x < 64; ++x) (host.canvas.At(x, 35) == clBlack ? black : other)++;
  EXPECT_GT(black, 15);
  EXPECT_GT(other, 15);
}

TEST_F(GridMouse, GutterClickSelectsTheRowAndGutterDragsExtendIt) {
  std::vector<std::int32_t> clicked;
  grid.OnGutterClick = TOnGutterClick([&](Component&, std::int32_t r, TMouseButton, TShiftState) { clicked.push_back(r); });
  Hover(5, Y(2));
  grid.MouseDown(TMouseButton::mbLeft, ssLeft, 5, Y(2));
  EXPECT_EQ(Current(), (Point{0, 2}));
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 2, 2, 2}));
  EXPECT_EQ(grid.FillHandleCorner(), 2);
  host.ClearRecords();
  grid.MouseMove(ssLeft, 5, Y(2) + 4);
  EXPECT_TRUE(host.invalidated.empty());
  grid.MouseMove(ssLeft, 5, Y(4));
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 2, 2, 4}));
  EXPECT_FALSE(host.invalidated.empty());
  EXPECT_EQ(clicked, (std::vector<std::int32_t>{2}));
}

TEST_F(GridMouse, TheCornerSelectsEverything) {
  Click(5, 5);
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 0, 2, 7}));
  EXPECT_EQ(Current(), (Point{0, 0}));
}

TEST_F(GridMouse, DraggingOverCellsSelectsABlockUpToTheBorderCells) {
  Drag(X(1), Y(1), 290, 290);
  EXPECT_EQ(Current(), (Point{1, 1}));
  EXPECT_EQ(grid.SelectArea(), (Rect{1, 1, 2, 7}));
  EXPECT_EQ(grid.AnchorCol(), 2);
  EXPECT_EQ(grid.AnchorRow(), 7);
}

TEST_F(GridMouse, ADisabledGridOnlyReportsTheMouse) {
  int downs = 0;
  grid.OnMouseDown = TMouseEvent([&](Component&, TMouseButton, TShiftState, std::int32_t, std::int32_t) { ++downs; });
  grid.SetEnabled(false);
  Click(X(2), Y(2));
  EXPECT_EQ(Current(), (Point{0, 0}));
  EXPECT_EQ(downs, 1);
  Hover(X(2), Y(2));
  EXPECT_EQ(host.cursor, cursor::Default);
}

class FillDrag : public GridMouse {
 protected:
  // Drags the fill handle of the selected block to the cell (col, row).
  void DragHandleTo(std::int32_t col, std::int32_t row) {
    PressHandle();
    grid.MouseMove(ssLeft, X(col), Y(row));
    grid.MouseUp(TMouseButton::mbLeft, 0, X(col), Y(row));
  }
  std::wstring Column(std::int32_t col) const {
    std::wstring out;
    for (std::int32_t r = 0; r < 8; ++r) out += (grid.CellText(col, r).empty() ? L"." : grid.CellText(col, r));
    return out;
  }
};

TEST_F(FillDrag, ASingleCellDraggedDownFillsTheCellsBelow) {
  grid.SetCells(0, 0, L"a");
  host.ClearRecords();
  DragHandleTo(0, 3);
  EXPECT_EQ(Column(0), L"aaaa....");
  EXPECT_EQ(grid.FillArea(), (Rect{-1, -1, -1, -1}));
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 0, 0, 3}));
}

TEST_F(FillDrag, TwoRowsRepeatOverFive) {
  grid.SetCells(1, 0, L"a");
  grid.SetCells(1, 1, L"b");
  Click(X(1), Y(0));
  grid.MouseDown(TMouseButton::mbLeft, ssLeft, X(1), Y(0));
  grid.MouseMove(ssLeft, X(1), Y(1));
  grid.MouseUp(TMouseButton::mbLeft, 0, X(1), Y(1));
  ASSERT_EQ(grid.SelectArea(), (Rect{1, 0, 1, 1}));
  DragHandleTo(1, 4);
  EXPECT_EQ(Column(1), L"ababa...");
}

TEST_F(FillDrag, UpwardsTheBlockStaysAlignedOnItself) {
  grid.SetCells(2, 5, L"a");
  grid.SetCells(2, 6, L"b");
  Click(X(2), Y(5));
  grid.MouseDown(TMouseButton::mbLeft, ssLeft, X(2), Y(5));
  grid.MouseMove(ssLeft, X(2), Y(6));
  grid.MouseUp(TMouseButton::mbLeft, 0, X(2), Y(6));
  DragHandleTo(2, 3);
  EXPECT_EQ(Column(2), L"...abab.");
}

TEST_F(FillDrag, AReadOnlyGridOnlyEnlargesTheSelection) {
  grid.SetCells(0, 0, L"a");
  grid.SetReadOnly(true);
  DragHandleTo(0, 3);
  EXPECT_EQ(Column(0), L"a.......");
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 0, 0, 3}));
}

TEST_F(FillDrag, HiddenColumnsNeitherGiveNorTakeTexts) {
  grid.SetCells(0, 0, L"a");
  grid.SetCells(1, 0, L"h");
  grid.Columns()[1].SetVisible(false);
  grid.SetSelectArea({0, 0, 1, 0}, false);  // one visible column, "a"
  DragHandleTo(2, 1);
  EXPECT_EQ(Column(0), L"aa......");
  EXPECT_EQ(Column(1), L"h.......");
  EXPECT_EQ(Column(2), L"aa......");
}

TEST_F(FillDrag, NoHandleIsLeftOnAGridWithoutRows) {
  host.focused = true;
  grid.Paint(host.canvas);
  const Rect handle = grid.FillHandleRect();
  grid.SetRowCount(0);
  Click(X(0), 5);  // a header click makes row 0 current all the same
  grid.Paint(host.canvas);
  Hover(handle.left + 1, handle.top + 1);
  EXPECT_NE(grid.Zone(), HitZone::FillHandle);
  grid.MouseDown(TMouseButton::mbLeft, ssLeft, handle.left + 1, handle.top + 1);
  grid.MouseMove(ssLeft, X(1), Y(2));
  grid.MouseUp(TMouseButton::mbLeft, 0, X(1), Y(2));
  EXPECT_EQ(grid.FillArea(), (Rect{-1, -1, -1, -1}));
}

TEST_F(FillDrag, ADragEndedAnyOtherWayLeavesNoOutlineNorCapture) {
  grid.SetCells(0, 0, L"a");
  PressHandle(TMouseButton::mbRight, ssRight);
  grid.MouseMove(ssRight, X(0), Y(3));
  grid.MouseUp(TMouseButton::mbRight, 0, X(0), Y(3));
  EXPECT_EQ(grid.FillArea(), (Rect{-1, -1, -1, -1})) << "a right-button press on the handle";

  PressHandle();
  grid.MouseMove(ssLeft, X(0), Y(3));
  host.ClearRecords();
  grid.MouseCaptureLost();
  EXPECT_EQ(grid.FillArea(), (Rect{-1, -1, -1, -1})) << "the mouse taken by another window";
  EXPECT_EQ(host.invalidated.size(), 1u);
  grid.MouseMove(ssLeft, X(0), Y(5));
  grid.MouseUp(TMouseButton::mbLeft, 0, X(0), Y(5));
  EXPECT_EQ(Column(0), L"a.......") << "nothing copied after the loss";

  grid.OnCellChanging = TOnCellChanging([](Component&, std::int32_t, std::int32_t, bool&) { throw 1; });
  Click(X(1), Y(1));
  Click(X(0), Y(0));
  host.ClearRecords();
  EXPECT_THROW(DragHandleTo(0, 2), int);
  EXPECT_EQ(grid.FillArea(), (Rect{-1, -1, -1, -1})) << "a failing copy";
  EXPECT_EQ(host.calls.back(), "ReleaseCapture");
  EXPECT_EQ(grid.DragLineIndex(), -1);
}

TEST_F(GridMouse, DraggingAnEdgeResizesDownToFivePixels) {
  Hover(20 + 50, Y(1));
  ASSERT_EQ(grid.Zone(), HitZone::ColumnEdge);
  grid.MouseDown(TMouseButton::mbLeft, ssLeft, 20 + 50, Y(1));
  grid.MouseMove(ssLeft, 20 + 80, Y(1));
  EXPECT_EQ(grid.Columns()[0].Width(), 80);
  EXPECT_EQ(grid.ColumnsWidth(), 180);
  grid.MouseMove(ssLeft, 10, Y(1));
  EXPECT_EQ(grid.Columns()[0].Width(), 5);
  grid.MouseUp(TMouseButton::mbLeft, 0, 10, Y(1));
  EXPECT_EQ(grid.Columns()[0].Width(), 5) << "the last move's width stays";
}

TEST_F(GridMouse, UnderFitToWidthOnlyTheColumnAndItsNeighbourShareTheRoom) {
  grid.SetFitToWidth(true);  // 280 pixels: 94, 93, 93
  ASSERT_EQ(grid.ColumnsWidth(), 280);
  Hover(20 + 94, Y(1));
  grid.MouseDown(TMouseButton::mbLeft, ssLeft, 20 + 94, Y(1));
  grid.MouseMove(ssLeft, 20 + 120, Y(1));
  EXPECT_EQ(grid.Columns()[0].Width(), 120);
  EXPECT_EQ(grid.Columns()[1].Width(), 67);
  EXPECT_EQ(grid.Columns()[2].Width(), 93);
  grid.MouseMove(ssLeft, 20 + 300, Y(1));
  EXPECT_EQ(grid.Columns()[0].Width(), 182);
  EXPECT_EQ(grid.Columns()[1].Width(), 5) << "the neighbour keeps 5 pixels";
  grid.MouseUp(TMouseButton::mbLeft, 0, 20 + 300, Y(1));
  // The last column's edge cannot be dragged.
  const std::int32_t lastEdge = 20 + grid.ColumnLeft(3);
  Hover(lastEdge - 1, Y(1));
  ASSERT_EQ(grid.Zone(), HitZone::ColumnEdge);
  grid.MouseDown(TMouseButton::mbLeft, ssLeft, lastEdge - 1, Y(1));
  grid.MouseMove(ssLeft, lastEdge - 40, Y(1));
  EXPECT_EQ(grid.Columns()[2].Width(), 93);
}

}  // namespace
}  // namespace grid
