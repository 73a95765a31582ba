// Painting through the canvas: what each part of the grid looks like, read back as pixels
// and drawn texts, and the clipping that keeps the selection frame from being painted over.
#include <gtest/gtest.h>

#include "grid/tests/recording_host.h"
#include "grid/text_grid.h"

namespace grid {
namespace {

using testing::ClipCall;
using testing::RecordingHost;

constexpr Colour kStripe = 0x00EEEEEE;
constexpr Colour kOwn = 0x000000AA;

// Three columns of 50 pixels, no gutter, five rows: cell (c, r) covers client x 50c - 1 to
// 50c + 49 and y 18r + 17 to 18r + 35, borders included.
class GridPaint : public ::testing::Test {
 protected:
  GridPaint() {
    grid.SetGutterKind(TGutterKind::gkNone);
    grid.SetColCount(3);
    for (std::int32_t i = 0; i < 3; ++i) grid.Columns()[i].SetWidth(50);
    grid.Columns()[0].SetTitle(L"Sıra");
    grid.Columns()[1].SetTitle(L"HatNo");
    grid.Columns()[2].SetTitle(L"Zaman");
  }
  void Paint() {
    host.canvas.Clear();
    grid.Paint(host.canvas);
  }
  Colour Inside(std::int32_t col, std::int32_t row) const { return host.canvas.At(50 * col + 25, 18 * row + 27); }

  RecordingHost host{{200, 200}};
  TTextGrid grid{host};
};

TEST_F(GridPaint, CellsHaveGridLinesAndTheirTexts) {
  grid.SetCells(1, 2, L"0532");
  Paint();
  EXPECT_EQ(Inside(1, 2), clWindow);
  EXPECT_EQ(host.canvas.At(49, 60), clBtnFace) << "vertical grid line";
  EXPECT_EQ(host.canvas.At(75, 53), clBtnFace) << "horizontal grid line";
  const auto* text = host.canvas.FindText(L"0532");
  ASSERT_NE(text, nullptr);
  // Left aligned, vertically centred in the cell shrunk by 4 and 2: (53, 55)..(96, 70).
  EXPECT_EQ(text->origin, (Point{53, 55 + (15 - 13) / 2}));
  EXPECT_EQ(text->clip, (Rect{53, 55, 96, 70}));
  EXPECT_EQ(text->colour, clWindowText);
}

TEST_F(GridPaint, NoGridLinesWhenTheyAreOff) {
  grid.SetShowGrid(false);
  Paint();
  EXPECT_EQ(host.canvas.At(49, 60), clWindow);
}

TEST_F(GridPaint, OddRowsAreStripedOnlyInColumnsWithTheGridsColour) {
  grid.SetAlternateColor(kStripe);
  grid.Columns()[2].SetColor(kOwn);
  Paint();
  EXPECT_EQ(Inside(0, 1), kStripe);
  EXPECT_EQ(Inside(0, 3), kStripe);
  EXPECT_EQ(Inside(1, 2), clWindow);
  EXPECT_EQ(Inside(2, 1), kOwn);
  EXPECT_EQ(grid.CellColor(0, 1), kStripe);
}

TEST_F(GridPaint, TheBlockShowsTheSelectionColourExceptOnTheCurrentCell) {
  grid.SetAlternateColor(kStripe);
  grid.SetSelectArea({0, 0, 1, 1}, false);
  Paint();
  EXPECT_EQ(Inside(0, 0), clWindow) << "the current cell";
  EXPECT_EQ(Inside(1, 0), 0x00CAFFFFu);
  EXPECT_EQ(Inside(0, 1), 0x00CAFFFFu);
  EXPECT_EQ(Inside(1, 1), 0x00CAFFFFu);
  EXPECT_EQ(Inside(2, 1), kStripe);
}

TEST_F(GridPaint, TheSelectionRingIsLeftOutWhileCellsAndBackgroundAreDrawn) {
  grid.SetSelectArea({1, 1, 1, 2}, false);
  Paint();
  // Block (1, 1)..(1, 2): client (49, 35)..(100, 72).
  const Ring ring{{48, 34, 101, 73}, {51, 37, 98, 70}};
  const Rect client{0, 0, 200, 200};
  EXPECT_EQ(host.canvas.clips, (std::vector<ClipCall>{{grid.CellArea(), ring}, {client, ring}, {grid.CellArea(), {}}, {}}));
}

TEST_F(GridPaint, TheFrameIsBlackWithFocusAndGridColouredWithout) {
  grid.SetSelectArea({1, 1, 1, 1}, false);
  Paint();
  EXPECT_EQ(host.canvas.At(49, 40), clBtnFace) << "frame around (49, 35)..(100, 54)";
  EXPECT_EQ(host.canvas.At(48, 40), clBtnFace);
  EXPECT_EQ(host.canvas.At(50, 40), clBtnFace);
  EXPECT_EQ(host.canvas.At(51, 40), 0x00CAFFFFu) << "inside the frame";
  host.focused = true;
  Paint();
  EXPECT_EQ(host.canvas.At(48, 40), clBlack);
  EXPECT_EQ(host.canvas.At(75, 35), clBlack);
  EXPECT_EQ(host.canvas.At(99, 44), clBlack);
}

TEST_F(GridPaint, TheFillHandleSitsAtTheBottomRightAndIsStored) {
  host.focused = true;
  grid.SetSelectArea({0, 0, 1, 1}, false);
  Paint();
  // Block (-1, 17)..(100, 54): handle (97, 51)..(103, 57), white outline, black inside.
  EXPECT_EQ(grid.FillHandleRect(), (Rect{97, 51, 103, 57}));
  EXPECT_EQ(grid.FillHandleCorner(), 0);
  EXPECT_EQ(host.canvas.At(97, 54), clWhite);
  EXPECT_EQ(host.canvas.At(102, 54), clWhite);
  EXPECT_EQ(host.canvas.At(100, 54), clBlack);
}

TEST_F(GridPaint, TheBackgroundFillsRightOfTheColumnsAndBelowTheRows) {
  grid.SetColor(kOwn);  // the columns keep their clWindow
  Paint();
  EXPECT_EQ(host.canvas.At(170, 50), kOwn) << "right of the 150 pixels of columns";
  EXPECT_EQ(host.canvas.At(50, 150), kOwn) << "below the 5 rows";
  EXPECT_EQ(Inside(0, 4), clWindow);
}

TEST_F(GridPaint, ThePartialSlotAtTheBottomIsFilledWhenScrolledToTheEnd) {
  grid.SetColor(kOwn);
  grid.SetRowCount(30);  // 182 pixels under the header: 10 whole rows and a 2-pixel slot
  grid.SetVScrollPos(grid.VScrollMax());
  Paint();
  EXPECT_EQ(host.canvas.At(20, 199), kOwn);
  EXPECT_EQ(host.canvas.At(20, 190), clWindow) << "the last whole row";
  grid.SetVScrollPos(0);
  Paint();
  EXPECT_NE(host.canvas.At(20, 199), kOwn) << "rows continue below: nothing to fill";
}

TEST_F(GridPaint, FlatHeaderCellsHaveADarkOutlineAndALightTopLeftEdge) {
  grid.SetHeaderLightColor(0x00FFFFF0);
  Paint();
  // Header cell of column 1: (49, -1)..(100, 18).
  EXPECT_EQ(host.canvas.At(49, 10), clBtnShadow);
  EXPECT_EQ(host.canvas.At(75, 17), clBtnShadow);
  EXPECT_EQ(host.canvas.At(50, 10), 0x00FFFFF0u) << "light left edge";
  EXPECT_EQ(host.canvas.At(75, 0), 0x00FFFFF0u) << "light top edge";
  EXPECT_EQ(host.canvas.At(98, 10), clBtnFace) << "no dark edge";
  EXPECT_EQ(host.canvas.At(75, 10), clBtnFace);
}

TEST_F(GridPaint, RaisedHeaderCellsHaveABlackOutlineAndBothBevels) {
  grid.SetFlat(false);
  Paint();
  EXPECT_EQ(host.canvas.At(49, 10), clBlack);
  EXPECT_EQ(host.canvas.At(75, 17), clBlack);
  EXPECT_EQ(host.canvas.At(50, 10), clBtnHighlight);
  EXPECT_EQ(host.canvas.At(98, 10), clBtnShadow) << "dark right edge";
  EXPECT_EQ(host.canvas.At(75, 16), clBtnShadow) << "dark bottom edge";
}

TEST_F(GridPaint, HeaderCaptionsAreCentredAndSemicolonsSplitLines) {
  grid.SetHeaderLine(2);
  grid.Columns()[0].SetTitle(L"Arayan;numara");
  Paint();
  // Span (0, 0)..(0, 1): (-1, -1)..(50, 36); text box (1, 1)..(47, 33), 32 high.
  const auto* first = host.canvas.FindText(L"Arayan");
  const auto* second = host.canvas.FindText(L"numara");
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->origin, (Point{1 + (46 - 42) / 2, 1 + (32 - 26) / 2}));
  EXPECT_EQ(second->origin, (Point{1 + (46 - 42) / 2, 1 + (32 - 26) / 2 + 13}));
  EXPECT_EQ(host.canvas.FindText(L"Zaman")->origin, (Point{101 + (46 - 35) / 2, 1 + (32 - 13) / 2}));
}

TEST_F(GridPaint, AWideLeftAlignedTextIsClippedOrFlushRightWhileTyping) {
  grid.SetCells(0, 0, L"0123456789");  // 70 pixels in a 43-pixel text box (3..46)
  Paint();
  EXPECT_EQ(host.canvas.FindText(L"0123456789")->origin.x, 3);
  host.canvas.Clear();
  const Point caret = grid.RedrawCellInside(0, 0, true);
  const auto* typed = host.canvas.FindText(L"0123456789");
  ASSERT_NE(typed, nullptr);
  EXPECT_EQ(typed->origin.x, 46 - 70);
  EXPECT_EQ(caret, (Point{46, 18}));
  EXPECT_EQ(host.canvas.At(10, 25), clWindow) << "the inside is filled";
  EXPECT_EQ(host.canvas.At(49, 25), testing::RasterCanvas::kUnpainted) << "the grid line is not redrawn";
}

TEST_F(GridPaint, RedrawCellInsideGivesTheCaretAfterAShortText) {
  grid.Columns()[1].SetHorzAlign(THorzAlign::haRight);
  grid.SetCells(1, 1, L"ab");
  host.canvas.Clear();
  EXPECT_EQ(grid.RedrawCellInside(1, 1, true), (Point{96, 36}));
  grid.Columns()[1].SetHorzAlign(THorzAlign::haCenter);
  EXPECT_EQ(grid.RedrawCellInside(1, 1, true), (Point{53 + (43 - 14) / 2 + 15, 36}));
}

TEST_F(GridPaint, AStoredCellRedrawsOnlyItsInside) {
  host.ClearRecords();
  host.canvas.Clear();
  grid.SetCells(2, 3, L"yeni");
  EXPECT_TRUE(host.invalidated.empty());
  EXPECT_EQ(host.canvas.TextsDrawn(), (std::vector<std::wstring>{L"yeni"}));
  EXPECT_EQ(host.canvas.At(125, 81), clWindow);
  EXPECT_EQ(host.canvas.At(125, 62), testing::RasterCanvas::kUnpainted) << "nothing outside the cell's inside";
}

TEST_F(GridPaint, ADisabledGridGreysItsTextsAndShowsNoSelection) {
  host.focused = true;
  grid.SetCells(1, 1, L"x");
  grid.SetSelectArea({0, 0, 1, 1}, false);
  grid.SetEnabled(false);
  Paint();
  EXPECT_EQ(host.canvas.FindText(L"x")->colour, clBtnFace);
  EXPECT_EQ(host.canvas.FindText(L"HatNo")->colour, clBtnShadow);
  EXPECT_EQ(Inside(1, 0), clWindow) << "no selection colour";
  EXPECT_EQ(host.canvas.At(98, 40), clWindow) << "no frame";
  EXPECT_EQ(host.canvas.clips.size(), 4u);
  EXPECT_FALSE(host.canvas.clips[0].exclude.has_value());
}

TEST_F(GridPaint, NothingIsDrawnWhileUpdating) {
  grid.BeginUpdate();
  Paint();
  EXPECT_EQ(host.canvas.At(100, 100), testing::RasterCanvas::kUnpainted);
  EXPECT_TRUE(host.canvas.texts.empty());
}

TEST_F(GridPaint, WithoutColumnsOnlyTheColourIsDrawn) {
  grid.SetColor(kOwn);
  grid.SetColCount(0);
  Paint();
  EXPECT_EQ(host.canvas.At(0, 0), kOwn);
  EXPECT_EQ(host.canvas.At(199, 199), kOwn);
  EXPECT_TRUE(host.canvas.texts.empty());
}

TEST_F(GridPaint, WithoutRowsTheHeaderAndBackgroundAreDrawn) {
  grid.SetColor(kOwn);
  grid.SetRowCount(0);
  Paint();
  EXPECT_EQ(host.canvas.TextsDrawn(), (std::vector<std::wstring>{L"Sıra", L"HatNo", L"Zaman", L""}));
  EXPECT_EQ(host.canvas.At(30, 100), kOwn);
  EXPECT_TRUE(host.canvas.clips.empty());
}

TEST_F(GridPaint, GutterCellsNumberTheRowsAndPointAtTheCurrentOne) {
  grid.SetGutterKind(TGutterKind::gkNumber);
  Paint();
  EXPECT_NE(host.canvas.FindText(L"1"), nullptr);
  EXPECT_NE(host.canvas.FindText(L"5"), nullptr);
  grid.SetGutterKind(TGutterKind::gkString);
  grid.SetGutterStrings({L"bir"});
  Paint();
  EXPECT_NE(host.canvas.FindText(L"bir"), nullptr);
  grid.SetGutterKind(TGutterKind::gkPointer);
  Paint();
  // Row 0's gutter cell (-1, 17)..(20, 36): px 6, py 5, my 26; the dark side runs from
  // (6, 31) up to (6, 22), then down to the tip (14, 26).
  EXPECT_EQ(host.canvas.At(6, 25), clBtnShadow);
  EXPECT_EQ(host.canvas.At(10, 24), clBtnShadow);
  EXPECT_EQ(host.canvas.At(10, 28), clBtnHighlight);
  EXPECT_EQ(host.canvas.At(6, 25 + 18), clBtnFace) << "only the current row";
}

TEST_F(GridPaint, TheFooterShowsEachColumnsFooterText) {
  grid.Columns()[1].SetFooter(L"toplam");
  grid.SetShowFooter(true);
  Paint();
  const auto* footer = host.canvas.FindText(L"toplam");
  ASSERT_NE(footer, nullptr);
  EXPECT_EQ(footer->clip.top, grid.FooterTop() + 2);
  EXPECT_EQ(host.canvas.At(75, grid.FooterTop() + 10), clBtnFace);
}

TEST_F(GridPaint, AnAssignedDrawEventTakesOverTheCell) {
  grid.OnDrawCell = TOnDrawCellEvent([](Component&, Canvas& canvas, std::int32_t c, std::int32_t r, const Rect& rc,
                                        bool& handled) {
    if (c == 1 && r == 1) {
      canvas.SetBrush(kOwn);
      canvas.FillRect(rc);
      handled = true;
    }
  });
  grid.SetCells(1, 1, L"hidden");
  Paint();
  EXPECT_EQ(Inside(1, 1), kOwn);
  EXPECT_EQ(host.canvas.FindText(L"hidden"), nullptr);
}

TEST(GridPaintCost, OnlyRowsMeetingTheCellAreaAreVisited) {
  RecordingHost host({200, 200});
  TTextGrid grid(host);
  grid.SetColCount(2);
  grid.SetRowCount(1'000'000);
  grid.SetVScrollPos(500'000 * 18);
  std::vector<std::int32_t> rows;
  grid.OnDrawCell = TOnDrawCellEvent([&](Component&, Canvas&, std::int32_t c, std::int32_t r, const Rect&, bool&) {
    if (c == 0) rows.push_back(r);
  });
  grid.Paint(host.canvas);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front(), 500'000);
  EXPECT_EQ(rows.back(), 500'000 + 10) << "the partly shown row at the bottom";
}

}  // namespace
}  // namespace grid
