// The layout pass and the geometry: fitting, auto width, scroll ranges and bars, the footer,
// the point-to-cell mapping, header spans and the selection's repaint.
#include <gtest/gtest.h>

#include "common/error.h"
#include "grid/tests/call_log_grid.h"
#include "grid/tests/recording_host.h"
#include "grid/text_grid.h"

namespace grid {
namespace {

using testing::RecordingHost;
using testing::ScrollBarCall;
using testing::ShowBarsCall;

std::vector<std::int32_t> Widths(const TTextGrid& grid) {
  std::vector<std::int32_t> widths;
  for (std::int32_t i = 0; i < grid.ColCount(); ++i) widths.push_back(grid.Columns()[i].Width());
  return widths;
}

TEST(GridLayout, CallLogColumnsFillTheClientWidthWithoutAHorizontalBar) {
  RecordingHost host({600, 250});
  TTextGrid grid(host);
  testing::ConfigureAsCallLog(grid);
  // 549 pixels of columns spread over 600: 51 = 6 x 8 + 3.
  EXPECT_EQ(Widths(grid), (std::vector<std::int32_t>{48, 56, 131, 129, 136, 100}));
  EXPECT_EQ(grid.ColumnsWidth(), 600);
  EXPECT_EQ(grid.HScrollMax(), 0);
  EXPECT_EQ(host.showBarsCalls.back(), (ShowBarsCall{false, false}));

  host.ClearRecords();
  grid.Recalculate();
  EXPECT_EQ(host.showBarsCalls, (std::vector<ShowBarsCall>{{false, false}}));
  EXPECT_EQ(host.scrollBarCalls, (std::vector<ScrollBarCall>{{ScrollBarKind::Horizontal, 0, scroll_mask::All, 0},
                                                             {ScrollBarKind::Vertical, 0, scroll_mask::All, 0}}));
  EXPECT_EQ(grid.CellArea(), (Rect{0, 18, 600, 250}));
  EXPECT_EQ(grid.UsedWidth(), 600);
  EXPECT_EQ(grid.UsedHeight(), 18);
}

class FitToWidth : public ::testing::Test {
 protected:
  FitToWidth() {
    grid.SetGutterKind(TGutterKind::gkNone);
    grid.SetColCount(6);
    for (std::int32_t i = 0; i < 6; ++i) grid.Columns()[i].SetWidth(40);
  }
  RecordingHost host{{250, 200}};
  TTextGrid grid{host};
};

TEST_F(FitToWidth, SpreadsSparePixelsLowerIndicesFirst) {
  grid.SetFitToWidth(true);  // 240 into 250
  EXPECT_EQ(Widths(grid), (std::vector<std::int32_t>{42, 42, 42, 42, 41, 41}));
}

// A column at the minimum leaves the rest of the surplus to the others; when all are there,
// the columns stay wider than the client and the bar shows. No left edge goes backwards.
TEST_F(FitToWidth, ShrinksNoColumnBelowTheMinimum) {
  grid.Columns()[1].SetWidth(8);
  host.window = {100, 200};
  grid.SetFitToWidth(true);  // 208 into 100: 3 from each, then 90 = 5 x 18 from all but column 1
  EXPECT_EQ(Widths(grid), (std::vector<std::int32_t>{19, 5, 19, 19, 19, 19}));
  EXPECT_EQ(grid.ColumnsWidth(), 100);
  host.window = {20, 200};
  grid.Recalculate();
  EXPECT_EQ(Widths(grid), (std::vector<std::int32_t>(6, 5)));
  EXPECT_EQ(grid.ColumnsWidth(), 30);
  EXPECT_TRUE(host.horizontalBar);
  EXPECT_EQ(grid.HScrollMax(), 10);
  for (std::int32_t col = 1; col <= 6; ++col) EXPECT_GT(grid.ColumnLeft(col), grid.ColumnLeft(col - 1));
}

// A new size moves the fitted columns, and every cell with them: the whole grid is repainted.
TEST_F(FitToWidth, AResizeThatMovesTheColumnsRepaintsEverything) {
  grid.SetFitToWidth(true);
  host.ClearRecords();
  host.window = {300, 200};
  grid.Resized();
  EXPECT_EQ(grid.Columns()[0].Width(), 51);  // 42 + 9 of the 50 more
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{0, 0, 300, 200}}));
}

TEST_F(FitToWidth, SkipsFixedAndHiddenColumns) {
  grid.Columns()[0].SetCanResize(false);
  grid.Columns()[2].SetVisible(false);
  grid.SetFitToWidth(true);  // 200 visible into 250: 50 over columns 1, 3, 4, 5
  EXPECT_EQ(Widths(grid), (std::vector<std::int32_t>{40, 53, 40, 53, 52, 52}));
}

TEST_F(FitToWidth, WithNoResizableColumnWidthsStayAndTheBarShows) {
  for (std::int32_t i = 0; i < 6; ++i) grid.Columns()[i].SetCanResize(false);
  host.window = {200, 200};
  grid.SetFitToWidth(true);
  EXPECT_EQ(Widths(grid), (std::vector<std::int32_t>(6, 40)));
  EXPECT_TRUE(host.horizontalBar);
  EXPECT_EQ(grid.HScrollMax(), 40);
  EXPECT_EQ(grid.UsedWidth(), 200);
}

TEST(GridLayout, AutoColWidthMeasuresTheWidestTextWithTheGridFont) {
  RecordingHost host({400, 200});
  TTextGrid grid(host);
  grid.SetColCount(3);
  Font font;
  font.name = L"Arial";
  grid.SetFont(font);
  grid.Columns()[0].SetStrings({L"1"});                              // 7 pixels: at least 20
  grid.Columns()[1].SetStrings({L"kısa", std::wstring(14, L'x')});   // 98 pixels: 105
  grid.Columns()[2].SetVisible(false);
  grid.Columns()[2].SetStrings({std::wstring(20, L'y')});            // hidden ones too: 147
  grid.SetDefColWidth(10);
  grid.SetAutoColWidth(true);
  EXPECT_EQ(Widths(grid), (std::vector<std::int32_t>{20, 105, 147}));
  EXPECT_EQ(host.canvas.CurrentFont(), font);
  grid.SetAutoColWidth(false);
  grid.SetDefColWidth(80);
  grid.SetAutoColWidth(true);
  EXPECT_EQ(Widths(grid), (std::vector<std::int32_t>{80, 105, 147})) << "at least the default width";
}

TEST(GridLayout, AutoColWidthGivesDefaultForNarrowAndSevenMoreForWideTexts) {
  RecordingHost host({400, 200});
  TTextGrid grid(host);
  grid.SetColCount(2);
  grid.Columns()[0].SetStrings({L"", std::wstring(30 / 7, L'a')});  // 28 pixels
  grid.Columns()[1].SetStrings({std::wstring(100 / 7, L'a')});      // 98 pixels
  grid.SetAutoColWidth(true);
  EXPECT_EQ(Widths(grid), (std::vector<std::int32_t>{80, 105}));
}

TEST(GridLayout, VerticalRangeIsRoundedUpToWholeRows) {
  RecordingHost host({200, 200});
  TTextGrid grid(host);
  grid.SetGutterKind(TGutterKind::gkNone);
  grid.SetColCount(2);
  host.ClearRecords();
  grid.SetRowCount(20);  // 20 x 18 + 18 - 200 = 178
  EXPECT_EQ(grid.VScrollMax(), 180);
  EXPECT_EQ(host.showBarsCalls, (std::vector<ShowBarsCall>{{false, true}}));
  EXPECT_EQ(host.scrollBarCalls.back(), (ScrollBarCall{ScrollBarKind::Vertical, 180, scroll_mask::All, 0}));
  EXPECT_EQ(grid.UsedHeight(), 200);
  EXPECT_EQ(grid.UsedWidth(), 160);
}

TEST(GridLayout, ScrollPositionsAreClampedAndResetWhenEverythingFits) {
  RecordingHost host({200, 200});
  TTextGrid grid(host);
  grid.SetGutterKind(TGutterKind::gkNone);
  grid.SetColCount(4);  // 320 wide
  grid.SetRowCount(20);
  grid.SetHScrollPos(500);
  grid.SetVScrollPos(107);
  EXPECT_EQ(grid.HScrollPos(), grid.HScrollMax());
  EXPECT_EQ(grid.HScrollMax(), 320 - 184);
  EXPECT_EQ(grid.VScrollPos(), 90) << "rounded down to a whole row";
  grid.SetRowCount(15);  // max 15 x 18 + 18 - 184 = 104 -> 108
  EXPECT_EQ(grid.VScrollMax(), 108);
  EXPECT_EQ(grid.VScrollPos(), 90);
  grid.SetRowCount(5);
  EXPECT_EQ(grid.VScrollPos(), 0);
  grid.Columns()[3].SetVisible(false);
  grid.Columns()[2].SetVisible(false);
  EXPECT_EQ(grid.HScrollPos(), 0);
}

TEST(GridLayout, FooterSitsUnderTheLastRowOrInTheLastWholeSlot) {
  RecordingHost host({200, 200});
  TTextGrid grid(host);
  grid.SetColCount(2);
  grid.SetRowCount(3);
  grid.SetShowFooter(true);
  EXPECT_EQ(grid.FooterTop(), (1 + 3) * 18 - 1);
  EXPECT_EQ(grid.CellArea(), (Rect{20, 18, 200, 71}));
  EXPECT_EQ(grid.UsedHeight(), 18 + 3 * 18 + 18);
  grid.SetRowCount(10);  // 18 + 180 + 18 > 200: vertical bar
  EXPECT_TRUE(host.verticalBar);
  EXPECT_EQ(grid.FooterTop(), (200 / 18 - 1) * 18 - 1);
  EXPECT_EQ(grid.VScrollMax(), 18) << "16 rounded up to a row";
}

TEST(GridLayout, NoVisibleColumnEmptiesTheLayoutAndHidesTheBars) {
  RecordingHost host({200, 200});
  TTextGrid grid(host);
  grid.SetColCount(1);
  grid.SetRowCount(30);
  EXPECT_TRUE(host.verticalBar);
  grid.Columns()[0].SetVisible(false);
  EXPECT_FALSE(host.verticalBar);
  EXPECT_EQ(grid.HeaderHeight(), 0);
  EXPECT_EQ(grid.CellLeft(), 0);
  EXPECT_EQ(grid.ColumnsWidth(), 0);
  EXPECT_EQ(grid.RowsHeight(), 0);
}

TEST(GridLayout, ArithmeticRaisesInsteadOfWrapping) {
  RecordingHost host({200, 200});
  TTextGrid grid(host);
  grid.SetColCount(1);
  EXPECT_THROW(grid.SetRowCount(200'000'000), common::OverflowError);
  grid.SetRowCount(5);
  grid.Columns()[0].SetWidth(2'147'483'600);
  EXPECT_THROW(grid.Columns().Add(), common::OverflowError);
}

class GridGeometry : public ::testing::Test {
 protected:
  GridGeometry() {
    grid.SetColCount(3);
    grid.Columns()[0].SetWidth(50);
    grid.Columns()[1].SetVisible(false);
    grid.Columns()[2].SetWidth(50);
  }
  RecordingHost host{{300, 300}};
  TTextGrid grid{host};
};

TEST_F(GridGeometry, CellRectsShareTheirBorderLines) {
  EXPECT_EQ(grid.ColumnLeft(2), 50);
  EXPECT_EQ(grid.CellRect(0, 0), (Rect{-1, -1, 50, 18}));
  EXPECT_EQ(grid.CellRect(1, 2), (Rect{49, 35, 50, 54})) << "a hidden column has no width";
  EXPECT_EQ(grid.CellRect(2, 2), (Rect{49, 35, 100, 54}));
  EXPECT_EQ(grid.CellRect(-1, 2), (Rect{}));
  EXPECT_EQ(grid.ContentToClient(grid.CellRect(2, 2)), (Rect{69, 53, 120, 72}));
}

TEST_F(GridGeometry, PointsMapToColumnsOverAHiddenColumn) {
  // Content x = client x - 20 (the gutter).
  EXPECT_EQ(grid.ColFromX(20 + 50), 0);
  EXPECT_EQ(grid.ColFromX(20 + 51), 2);
  EXPECT_EQ(grid.ColFromX(20 + 500), 2);
  EXPECT_EQ(grid.ColFromX(20 + 1), 0);
  EXPECT_EQ(grid.ColFromX(20), -1) << "the left border line belongs to no column";
  EXPECT_EQ(grid.ColFromX(19), -1);
}

TEST_F(GridGeometry, PointsMapToRows) {
  EXPECT_EQ(grid.RowFromY(17), -1);
  EXPECT_EQ(grid.RowFromY(18), 0);
  EXPECT_EQ(grid.RowFromY(18 + 4 * 18 + 17), 4);
  EXPECT_EQ(grid.RowFromY(18 + 5 * 18), -1);
  EXPECT_EQ(grid.CellFromPoint(5, 2), (Point{0, 0})) << "clamped, never -1";
  EXPECT_EQ(grid.CellFromPoint(290, 290), (Point{2, 4}));
}

TEST_F(GridGeometry, SelectionRepaintsTheUnionWidenedByThree) {
  host.ClearRecords();
  grid.SetSelectArea({0, 0, 0, 0}, false);
  EXPECT_TRUE(host.invalidated.empty()) << "unchanged and not forced";
  grid.SetSelectArea({0, 0, 0, 0}, true);
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{16, 14, 73, 39}}));
  host.ClearRecords();
  grid.SetSelectArea({2, 3, 2, 4}, false);
  // Union (0, 0)..(2, 4): content (-1, -1)..(100, 90), client (19, 17)..(120, 108).
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{16, 14, 123, 111}}));
  EXPECT_EQ(grid.SelectArea(), (Rect{2, 3, 2, 4}));
  host.ClearRecords();
  grid.SetGutterKind(TGutterKind::gkPointer);
  host.ClearRecords();
  grid.SetSelectArea({2, 4, 2, 4}, false);
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{66, 68, 123, 111}, {0, 18, 20, 300}}));
}

TEST(HeaderSpans, TitlePartsMergeAcrossColumnsAndLines) {
  RecordingHost host({400, 200});
  TTextGrid grid(host);
  grid.SetColCount(3);
  grid.Columns()[0].SetTitle(L"A|x");
  grid.Columns()[1].SetTitle(L"A|y");
  grid.Columns()[2].SetTitle(L"B");
  grid.SetHeaderLine(2);
  EXPECT_EQ(grid.HeaderSpans(),
            (std::vector<HeaderSpan>{{L"A", 0, 0, 1, 0}, {L"x", 0, 1, 0, 1}, {L"y", 1, 1, 1, 1}, {L"B", 2, 0, 2, 1}}));
  EXPECT_EQ(grid.HeaderHeight(), 36);
}

TEST(HeaderSpans, EmptyTitlesShareACellAndAHiddenColumnKeepsEqualTitlesApart) {
  RecordingHost host({400, 200});
  TTextGrid grid(host);
  grid.SetColCount(5);
  grid.Columns()[2].SetTitle(L"C");
  grid.Columns()[3].SetVisible(false);
  grid.Columns()[4].SetTitle(L"C");
  EXPECT_EQ(grid.HeaderSpans(),
            (std::vector<HeaderSpan>{{L"", 0, 0, 1, 0}, {L"C", 2, 0, 2, 0}, {L"C", 4, 0, 4, 0}}));
}

TEST(HeaderSpans, ExtraPartsAreIgnoredAndCaseMatters) {
  RecordingHost host({400, 200});
  TTextGrid grid(host);
  grid.SetColCount(2);
  grid.Columns()[0].SetTitle(L"a|b|c");
  grid.Columns()[1].SetTitle(L"A|b");
  grid.SetHeaderLine(2);
  EXPECT_EQ(grid.HeaderSpans(),
            (std::vector<HeaderSpan>{{L"a", 0, 0, 0, 0}, {L"b", 0, 1, 1, 1}, {L"A", 1, 0, 1, 0}}));
}

TEST(HeaderSpans, AOnePartTitleFillsEveryLine) {
  RecordingHost host({400, 200});
  TTextGrid grid(host);
  grid.SetColCount(1);
  grid.Columns()[0].SetTitle(L"Zaman");
  grid.SetHeaderLine(3);
  EXPECT_EQ(grid.HeaderSpans(), (std::vector<HeaderSpan>{{L"Zaman", 0, 0, 0, 2}}));
}

TEST(GridScrolling, MakeCellVisibleScrollsBelowToLastAndAboveToFirst) {
  RecordingHost host({200, 200});
  TTextGrid grid(host);
  grid.SetGutterKind(TGutterKind::gkNone);
  grid.SetColCount(2);
  grid.SetRowCount(30);
  // 182 pixels under the header: rows 0..9 fit wholly, so Span is 9.
  host.ClearRecords();
  grid.MakeCellVisible(0, 15);
  EXPECT_EQ(grid.VScrollPos(), (15 - 9) * 18);
  EXPECT_EQ(host.scrollBarCalls, (std::vector<ScrollBarCall>{{ScrollBarKind::Vertical, grid.VScrollMax(),
                                                              scroll_mask::Position, 108}}));
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{{0, 18, 184, 200}}));
  grid.MakeCellVisible(0, 3);
  EXPECT_EQ(grid.VScrollPos(), 3 * 18);
  host.ClearRecords();
  grid.MakeCellVisible(1, 8);
  EXPECT_TRUE(host.invalidated.empty()) << "already in view";
}

}  // namespace
}  // namespace grid
