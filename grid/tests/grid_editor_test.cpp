// The in-place editor: where and how it is laid over the cell, every change stored as a user
// edit, the keys that close it, its character filter, and what hides it.
#include <gtest/gtest.h>

#include "grid/tests/recording_host.h"
#include "grid/text_grid.h"

namespace grid {
namespace {

using testing::RecordingHost;
using namespace shift;

// No gutter, two columns of 80, rows of 18: cell (1, 1) is client (79, 35)..(160, 54).
class GridEditor : public ::testing::Test {
 protected:
  GridEditor() {
    grid.SetGutterKind(TGutterKind::gkNone);
    grid.SetColCount(2);
    grid.SetRowCount(20);
    grid.SetCells(1, 1, L"eski");
    host.editBox.onChange = [this] { grid.InplaceEditor().Changed(); };
  }
  void OpenOn(std::int32_t col, std::int32_t row) {
    const std::int32_t x = 80 * col + 40, y = 18 + 18 * row + 9;
    for (int click = 0; click < 2; ++click) {
      grid.MouseMove(0, x, y);
      grid.MouseDown(TMouseButton::mbLeft, ssLeft, x, y);
      grid.MouseUp(TMouseButton::mbLeft, 0, x, y);
    }
  }

  RecordingHost host{{300, 200}};
  TTextGrid grid{host};
};

TEST_F(GridEditor, OpensOverTheCellWithItsTextColourFontAndInsets) {
  Font font;
  font.name = L"Arial";
  grid.Columns()[1].SetFont(font);
  grid.SetAlternateColor(0x00EEEEEE);
  OpenOn(1, 1);
  ASSERT_TRUE(host.editBox.visible);
  EXPECT_EQ(host.editBox.text, L"eski");
  EXPECT_EQ(host.editBox.colour, 0x00EEEEEEu) << "odd row of a column with the grid's colour";
  EXPECT_EQ(host.editBox.font, font);
  // (79, 35)..(160, 54) shrunk by 4 and 3: (83, 38)..(156, 51); "gM" is 13 high, centred.
  EXPECT_EQ(host.editBox.bounds, (Rect{83, 38, 156, 51}));
  EXPECT_EQ(grid.InplaceEditor().EditCol(), 1);
  EXPECT_EQ(grid.InplaceEditor().EditRow(), 1);
}

TEST_F(GridEditor, ARightAlignedColumnsEditorIsOnePixelWiderAndRecreated) {
  grid.Columns()[1].SetHorzAlign(THorzAlign::haRight);
  grid.Columns()[1].SetVertAlign(TVertAlign::vaTop);
  OpenOn(1, 1);
  EXPECT_EQ(host.editBox.alignment, THorzAlign::haRight);
  EXPECT_EQ(host.editBox.recreations, 1);
  EXPECT_EQ(host.editBox.bounds, (Rect{83, 37, 157, 50}));
  grid.Columns()[1].SetVertAlign(TVertAlign::vaBottom);
  OpenOn(1, 2);
  // Cell (1, 2) is (79, 53)..(161, 72) with the extra pixel; shrunk: (83, 56)..(157, 69).
  EXPECT_EQ(host.editBox.bounds, (Rect{83, 69 - 13 + 1, 157, 69 + 1}));
  EXPECT_EQ(host.editBox.recreations, 1) << "same alignment: not recreated";
}

TEST_F(GridEditor, EveryChangeIsStoredAsAUserEdit) {
  std::vector<std::wstring> changes;
  grid.OnCellChange = TOnCellChange([&](Component&, std::int32_t, std::int32_t, std::wstring& s) {
    changes.push_back(s);
    s += L"!";
  });
  OpenOn(1, 1);
  EXPECT_TRUE(changes.empty()) << "showing the cell's own text changes nothing";
  host.editBox.Type(L"y");
  host.editBox.Type(L"ye");
  EXPECT_EQ(changes, (std::vector<std::wstring>{L"y", L"ye"}));
  EXPECT_EQ(grid.Cells(1, 1), L"ye!");
  EXPECT_EQ(host.editBox.text, L"ye") << "the handler's change is not shown in the editor";
}

TEST_F(GridEditor, EnterEscapeUpAndDownCloseItAndFocusTheGrid) {
  for (std::uint16_t k : {key::Enter, key::Escape, key::Up, key::Down}) {
    OpenOn(1, 1);
    host.ClearRecords();
    EXPECT_TRUE(grid.InplaceEditor().KeyDown(k, 0));
    EXPECT_FALSE(host.editBox.visible);
    EXPECT_FALSE(grid.EditorShown());
    EXPECT_EQ(host.calls, (std::vector<std::string>{"SetFocus"}));
    EXPECT_EQ(grid.CurrentRow(), 1);
  }
  OpenOn(1, 1);
  EXPECT_FALSE(grid.InplaceEditor().KeyDown(key::Left, 0)) << "other keys are the box's";
  EXPECT_TRUE(host.editBox.visible);
}

TEST_F(GridEditor, TheFilterCanDropEveryCharacterButBackspace) {
  int senders = 0;
  grid.OnFilterChar = TOnFilterChar([&](Component& sender, std::int32_t, std::int32_t, wchar_t c, bool& allowed) {
    senders += &sender == &grid.InplaceEditor();
    allowed = c >= L'0' && c <= L'9';
  });
  EXPECT_EQ(grid.InplaceEditor().KeyPress(L'a'), 0);
  EXPECT_EQ(grid.InplaceEditor().KeyPress(L'\r'), 0) << "control characters too";
  EXPECT_EQ(grid.InplaceEditor().KeyPress(L'5'), L'5');
  EXPECT_EQ(grid.InplaceEditor().KeyPress(key::Back), key::Back);
  EXPECT_EQ(senders, 4);
}

TEST_F(GridEditor, TheWheelLeavesItOpenAndTheBarsAndNavigationHideIt) {
  OpenOn(1, 1);
  grid.MouseWheel(-40);
  EXPECT_TRUE(host.editBox.visible);
  grid.VScroll(ScrollAction::LineUp, 0);
  EXPECT_FALSE(host.editBox.visible);
  OpenOn(1, 1);
  grid.KeyDown(key::Left, 0);
  EXPECT_FALSE(host.editBox.visible);
}

TEST_F(GridEditor, LosingFocusToTheEditorKeepsItOpenWithoutRepainting) {
  grid.FocusGained();
  OpenOn(1, 1);
  host.ClearRecords();
  grid.FocusLost(true);
  EXPECT_TRUE(host.editBox.visible);
  EXPECT_TRUE(host.invalidated.empty());
  grid.FocusLost(false);
  EXPECT_FALSE(host.editBox.visible);
}

TEST_F(GridEditor, TypingIntoTheGridHidesTheEditorAndReplacesTheText) {
  OpenOn(1, 1);
  grid.KeyPress(L'z');
  EXPECT_FALSE(host.editBox.visible);
  EXPECT_EQ(grid.Cells(1, 1), L"z");
}

}  // namespace
}  // namespace grid
