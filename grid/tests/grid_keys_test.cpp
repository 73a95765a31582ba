// The keyboard: navigation and block selection, row keys, typing with the caret, Enter with
// assignment and auto-fill, scrolling by bars and wheel, focus, and the Enabled gate.
#include <gtest/gtest.h>

#include "grid/tests/recording_host.h"
#include "grid/text_grid.h"

namespace grid {
namespace {

using testing::RecordingHost;
using namespace shift;

class GridKeys : public ::testing::Test {
 protected:
  GridKeys() {
    grid.SetGutterKind(TGutterKind::gkNone);
    grid.SetColCount(4);
    for (std::int32_t i = 0; i < 4; ++i) grid.Columns()[i].SetWidth(40);
    grid.OnColRowChanged = TOnColRowChanged([this](Component&, std::int32_t c, std::int32_t r) {
      notified.push_back({c, r});
    });
    grid.OnKeyDown = TKeyEvent([this](Component&, std::uint16_t& key, TShiftState) { keysSeen.push_back(key); });
    grid.FocusGained();
    host.ClearRecords();
  }
  void Press(std::uint16_t key, TShiftState state = 0) { grid.KeyDown(key, state); }
  void Type(const std::wstring& text) {
    for (wchar_t c : text) grid.KeyPress(c);
  }
  Point Current() const { return {grid.CurrentCol(), grid.CurrentRow()}; }
  void GoTo(std::int32_t col, std::int32_t row) {
    Press(key::Home, ssCtrl);
    for (std::int32_t i = 0; i < row; ++i) Press(key::Down);
    for (std::int32_t i = 0; i < col; ++i) Press(key::Right);
    notified.clear();
    keysSeen.clear();
    host.ClearRecords();
  }

  RecordingHost host{{200, 200}};
  TTextGrid grid{host};
  std::vector<Point> notified;
  std::vector<std::uint16_t> keysSeen;
};

TEST_F(GridKeys, NavigationCollapsesTheBlockAndNotifiesEvenWithoutMoving) {
  Press(key::Down, ssShift);
  Press(key::Right, ssShift);
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 0, 1, 1}));
  EXPECT_EQ(Current(), (Point{0, 0})) << "Shift moves the anchor only";
  notified.clear();
  Press(key::Up);
  EXPECT_EQ(Current(), (Point{0, 0}));
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 0, 0, 0}));
  EXPECT_EQ(notified, (std::vector<Point>{{0, 0}}));
  Press(key::Left);
  EXPECT_EQ(notified.size(), 2u);
  EXPECT_EQ(keysSeen, (std::vector<std::uint16_t>{key::Down, key::Right, key::Up, key::Left}));
}

TEST_F(GridKeys, LeftAndRightSkipHiddenColumns) {
  grid.Columns()[2].SetVisible(false);
  GoTo(1, 0);
  Press(key::Right);
  EXPECT_EQ(Current(), (Point{3, 0}));
  Press(key::Right);
  EXPECT_EQ(Current(), (Point{3, 0}));
  Press(key::Left);
  EXPECT_EQ(Current(), (Point{1, 0}));

  // With every column hidden there is no column to go to: the keys leave the cell alone.
  for (int col = 0; col < 4; ++col) grid.Columns()[col].SetVisible(false);
  for (std::uint16_t k : {key::End, key::Home, key::Right, key::Left}) {
    Press(k);
    Press(k, shift::ssCtrl);
  }
  EXPECT_EQ(Current(), (Point{1, 0}));
}

TEST_F(GridKeys, PagesGoToTheFirstAndLastRowAndCtrlHomeEndToTheCorners) {
  Press(key::PageDown);
  EXPECT_EQ(Current(), (Point{0, 4}));
  Press(key::PageUp);
  EXPECT_EQ(Current(), (Point{0, 0}));
  grid.Columns()[3].SetVisible(false);
  Press(key::End, ssCtrl);
  EXPECT_EQ(Current(), (Point{2, 4}));
  Press(key::Home, ssCtrl);
  EXPECT_EQ(Current(), (Point{0, 0}));
  Press(key::End);
  EXPECT_EQ(Current(), (Point{2, 0}));
  Press(key::Home);
  EXPECT_EQ(Current(), (Point{0, 0}));
}

TEST_F(GridKeys, ASelectionChangeRepaintsOnlyTheUnionOfTheTwoBlocks) {
  GoTo(1, 1);
  Press(key::Right);
  // Cells (1, 1)..(2, 1): content (39, 17)..(120, 36), client y + 18, widened by 3.
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{36, 32, 123, 57}}));
}

TEST_F(GridKeys, RowAndColumnChangesKeepTheCurrentCellAndTheAnchorInTheGrid) {
  grid.SetRowCount(20);
  GoTo(3, 10);
  grid.SetRowCount(0);
  grid.AddRow();
  Press(key::Up, ssShift);
  EXPECT_EQ((Point{grid.AnchorCol(), grid.AnchorRow()}), (Point{0, 0}));
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 0, 0, 0}));

  grid.SetRowCount(3);
  GoTo(3, 1);
  Press(key::Left, ssShift);
  grid.Columns().Delete(3);
  EXPECT_EQ(Current(), (Point{2, 1}));
  EXPECT_EQ(grid.SelectArea(), (Rect{2, 1, 2, 1}));
  Press(key::Left, ssShift);
  EXPECT_EQ(grid.SelectArea(), (Rect{1, 1, 2, 1}));
}

TEST_F(GridKeys, CtrlDeleteRemovesTheCurrentRowButNeverTheLast) {
  grid.SetRowCount(1);
  std::vector<std::int32_t> deleted;
  grid.OnDeleteRow = TOnRowEvent([&](Component&, std::int32_t row) { deleted.push_back(row); });
  Press(key::Delete, ssCtrl);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(keysSeen.back(), key::Delete) << "the key still reaches OnKeyDown";
  grid.SetRowCount(3);
  grid.SetCells(0, 1, L"b");
  GoTo(0, 2);
  Press(key::Delete, ssCtrl);
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(deleted, (std::vector<std::int32_t>{2}));
  EXPECT_EQ(Current(), (Point{0, 1}));
  EXPECT_EQ(grid.Cells(0, 1), L"b");
}

TEST_F(GridKeys, DeletingTheRowOfACurrentLastRowMovesTheCurrentCellUp) {
  GoTo(2, 4);
  grid.DeleteRow(4);
  EXPECT_EQ(Current(), (Point{2, 3}));
  EXPECT_EQ(notified, (std::vector<Point>{{2, 3}}));
  grid.DeleteRow(0);
  EXPECT_EQ(Current(), (Point{2, 2})) << "the last row again";
}

TEST_F(GridKeys, DownOnTheLastRowAppendsAndUpFromAnEmptyLastRowRemoves) {
  grid.SetAutoAddRow(true);
  std::vector<std::int32_t> inserted, deleted;
  grid.OnInsertRow = TOnRowEvent([&](Component&, std::int32_t row) { inserted.push_back(row); });
  grid.OnDeleteRow = TOnRowEvent([&](Component&, std::int32_t row) { deleted.push_back(row); });
  GoTo(1, 4);
  Press(key::Down);
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(Current(), (Point{1, 5}));
  EXPECT_EQ(inserted, (std::vector<std::int32_t>{5}));
  Press(key::Up);
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(Current(), (Point{1, 4}));
  EXPECT_EQ(deleted, (std::vector<std::int32_t>{5}));
  grid.SetCells(3, 4, L"dolu");
  Press(key::Up);
  EXPECT_EQ(grid.RowCount(), 5) << "a last row holding text only moves up";
  EXPECT_EQ(Current(), (Point{1, 3}));
  grid.SetReadOnly(true);
  GoTo(0, 4);
  Press(key::Down);
  EXPECT_EQ(grid.RowCount(), 5);
}

TEST_F(GridKeys, TypingOvertypesAndBackspaceShortensWithTheCaretAfterTheText) {
  grid.SetCells(1, 2, L"xyz");
  GoTo(1, 2);
  host.canvas.Clear();
  Type(L"ab");
  EXPECT_EQ(grid.Cells(1, 2), L"ab");
  EXPECT_EQ(grid.TypedText(), L"ab");
  // Cell (1, 2): text box x 43..75; "ab" is 14 pixels: caret at 58, y 54.
  EXPECT_EQ(host.calls, (std::vector<std::string>{"SetCaretPos 51,54", "ShowCaret", "HideCaret", "SetCaretPos 58,54",
                                                  "ShowCaret"}));
  EXPECT_TRUE(host.invalidated.empty()) << "typing redraws only the cell's inside";
  grid.KeyPress(key::Back);
  EXPECT_EQ(grid.Cells(1, 2), L"a");
  Press(key::Down);
  EXPECT_EQ(grid.TypedText(), L"");
  grid.SetCells(1, 3, L"eski");
  grid.KeyPress(key::Back);
  EXPECT_EQ(grid.Cells(1, 3), L"") << "Backspace on a cell not typed into empties it";
}

TEST_F(GridKeys, TheFilterCanRefuseCharactersButNotBackspace) {
  grid.OnFilterChar = TOnFilterChar([](Component&, std::int32_t, std::int32_t, wchar_t c, bool& allowed) {
    allowed = c >= L'0' && c <= L'9';
  });
  Type(L"1a2");
  EXPECT_EQ(grid.Cells(0, 0), L"12");
  grid.KeyPress(key::Back);
  EXPECT_EQ(grid.Cells(0, 0), L"1");
  grid.KeyPress(L'\r');
  EXPECT_EQ(grid.Cells(0, 0), L"1") << "control characters are ignored";
}

TEST_F(GridKeys, ShiftArrowsKeepTheTypedText) {
  Type(L"a");
  Press(key::Right, ssShift);
  Type(L"b");
  EXPECT_EQ(grid.Cells(0, 0), L"ab");
}

TEST_F(GridKeys, AReadOnlyGridTakesNoTypingButCopiesAndAReadOnlyColumnShowsTheCaret) {
  grid.SetCells(0, 0, L"a");
  grid.SetReadOnly(true);
  Type(L"x");
  Press(key::Delete);
  Press(key::X, ssCtrl);
  EXPECT_EQ(grid.Cells(0, 0), L"a");
  Press(key::C, ssCtrl);
  EXPECT_EQ(host.clipboard, L"a\r\n");
  grid.SetReadOnly(false);
  grid.Columns()[0].SetReadOnly(true);
  host.ClearRecords();
  Type(L"x");
  EXPECT_EQ(grid.Cells(0, 0), L"a");
  EXPECT_EQ(host.calls.back(), "ShowCaret");
}

TEST_F(GridKeys, OnKeyPressCanStopACharacter) {
  grid.OnKeyPress = TKeyPressEvent([](Component&, wchar_t& c) {
    if (c == L'q') c = 0;
  });
  Type(L"qw");
  EXPECT_EQ(grid.Cells(0, 0), L"w");
}

TEST_F(GridKeys, DeleteEmptiesTheBlockAsUserEditsAndRepaintsOnce) {
  for (std::int32_t c = 0; c < 4; ++c)
    for (std::int32_t r = 0; r < 3; ++r) grid.SetCells(c, r, L"v");
  grid.Columns()[1].SetReadOnly(true);
  Press(key::Right, ssShift);
  Press(key::Down, ssShift);
  host.ClearRecords();
  Press(key::Delete);
  EXPECT_EQ(grid.Cells(0, 1), L"");
  EXPECT_EQ(grid.Cells(1, 1), L"v");
  EXPECT_EQ(grid.Cells(2, 1), L"v");
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{-2, 16, 200, 200}}));
  Type(L"t");
  Press(key::Delete);
  EXPECT_EQ(grid.Cells(0, 0), L"t") << "not while typing";
}

TEST_F(GridKeys, InsertAddsARowAtTheCurrentOne) {
  grid.SetCells(0, 1, L"b");
  std::vector<std::int32_t> inserted;
  grid.OnInsertRow = TOnRowEvent([&](Component&, std::int32_t row) { inserted.push_back(row); });
  GoTo(0, 1);
  Press(key::Insert);
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(grid.Cells(0, 1), L"");
  EXPECT_EQ(grid.Cells(0, 2), L"b");
  EXPECT_EQ(inserted, (std::vector<std::int32_t>{1}));
}

TEST_F(GridKeys, EnterAssignsStoresAndMovesDown) {
  grid.OnCellAssignment = TOnCellAssignment([](Component&, std::int32_t, std::int32_t, std::wstring& s) { s += L"!"; });
  int changes = 0;
  grid.OnCellChange = TOnCellChange([&](Component&, std::int32_t, std::int32_t, std::wstring&) { ++changes; });
  grid.SetCells(0, 0, L"a");
  Press(key::Enter);
  EXPECT_EQ(grid.Cells(0, 0), L"a!");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Current(), (Point{0, 1}));
  Press(key::Enter, ssShift);
  EXPECT_EQ(Current(), (Point{0, 0}));
}

TEST_F(GridKeys, EnterCyclesThroughABlockDownTheColumnsBothWays) {
  Press(key::Right, ssShift);
  Press(key::Down, ssShift);
  std::vector<Point> visited;
  for (int i = 0; i < 4; ++i) {
    Press(key::Enter);
    visited.push_back(Current());
  }
  EXPECT_EQ(visited, (std::vector<Point>{{0, 1}, {1, 0}, {1, 1}, {0, 0}}));
  visited.clear();
  for (int i = 0; i < 4; ++i) {
    Press(key::Enter, ssShift);
    visited.push_back(Current());
  }
  EXPECT_EQ(visited, (std::vector<Point>{{1, 1}, {1, 0}, {0, 1}, {0, 0}}));
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 0, 1, 1})) << "the block stays";
}

TEST_F(GridKeys, AutoFillDownAndRightWriteWithoutEvents) {
  grid.SetAutoFillDown(true);
  grid.SetAutoFillRight(true);
  int events = 0;
  grid.OnCellChanging = TOnCellChanging([&](Component&, std::int32_t, std::int32_t, bool&) { ++events; });
  GoTo(1, 2);
  Type(L"x*");
  events = 0;
  Press(key::Enter);
  EXPECT_EQ(grid.Cells(1, 1), L"");
  EXPECT_EQ(grid.Cells(1, 2), L"x");
  EXPECT_EQ(grid.Cells(1, 3), L"x");
  EXPECT_EQ(grid.Cells(1, 4), L"x");
  EXPECT_EQ(events, 0);
  EXPECT_EQ(Current(), (Point{1, 2})) << "the current cell stays";
  EXPECT_EQ(grid.TypedText(), L"");
  Type(L"y>");
  Press(key::Enter);
  EXPECT_EQ(grid.Cells(0, 2), L"");
  EXPECT_EQ(grid.Cells(1, 2), L"y");
  EXPECT_EQ(grid.Cells(3, 2), L"y");
}

TEST_F(GridKeys, WheelScrollsByPixelsAndBarsByWholeRows) {
  grid.SetRowCount(40);
  grid.VScroll(ScrollAction::LineDown, 0);
  EXPECT_EQ(grid.VScrollPos(), 18);
  grid.VScroll(ScrollAction::ThumbTrack, 200);
  EXPECT_EQ(grid.VScrollPos(), 198) << "rounded down to a row";
  host.ClearRecords();
  grid.MouseWheel(120);
  EXPECT_EQ(grid.VScrollPos(), 78) << "120 pixels towards the first row, no rounding";
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{host.Client()}));
  grid.MouseWheel(120);
  EXPECT_EQ(grid.VScrollPos(), 0);
  host.ClearRecords();
  grid.VScroll(ScrollAction::PageDown, 0);
  EXPECT_EQ(grid.VScrollPos(), 90);
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{0, 18, 184, 200}})) << "below the header only";
  grid.VScroll(ScrollAction::Bottom, 0);
  EXPECT_EQ(grid.VScrollPos(), 90) << "other actions leave the position";
}

TEST_F(GridKeys, HorizontalBarActionsMoveByTheRowHeightAndRepaintRightOfTheGutter) {
  grid.SetColCount(8);
  grid.HScroll(ScrollAction::LineDown, 0);
  EXPECT_EQ(grid.HScrollPos(), 18);
  grid.HScroll(ScrollAction::PageDown, 0);
  EXPECT_EQ(grid.HScrollPos(), 108);
  grid.HScroll(ScrollAction::ThumbPosition, -5);
  EXPECT_EQ(grid.HScrollPos(), 0);
}

TEST_F(GridKeys, FocusCreatesTheCaretAndLosingItDestroysIt) {
  grid.FocusLost(false);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"DestroyCaret"}));
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{-2, 16, 200, 200}}));
  host.ClearRecords();
  grid.FocusGained();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"CreateCaret 1x16"}));
  Type(L"a");
  host.ClearRecords();
  grid.FocusLost(false);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"HideCaret", "DestroyCaret"}));
  EXPECT_FALSE(TTextGrid::CaretShown());
}

TEST_F(GridKeys, ADisabledGridIgnoresKeysAndOnlyReportsCharacters) {
  grid.SetEnabled(false);
  int pressed = 0;
  grid.OnKeyPress = TKeyPressEvent([&](Component&, wchar_t&) { ++pressed; });
  Press(key::Down);
  Type(L"a");
  EXPECT_EQ(Current(), (Point{0, 0}));
  EXPECT_TRUE(keysSeen.empty());
  EXPECT_EQ(pressed, 1);
  EXPECT_EQ(grid.Cells(0, 0), L"");
}

TEST_F(GridKeys, ArrowsAreKeptFromTheFormTabEnterAndEscapeAreNot) {
  EXPECT_TRUE(TTextGrid::WantsKey(key::Left));
  EXPECT_TRUE(TTextGrid::WantsKey(key::Down));
  EXPECT_FALSE(TTextGrid::WantsKey(key::Tab));
  EXPECT_FALSE(TTextGrid::WantsKey(key::Enter));
  EXPECT_FALSE(TTextGrid::WantsKey(key::Escape));
}

}  // namespace
}  // namespace grid
