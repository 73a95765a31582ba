// Published properties of the grid and its columns: defaults, and which rectangle each
// change repaints (nothing when the value is unchanged).
#include <gtest/gtest.h>

#include <functional>

#include "grid/tests/recording_host.h"
#include "grid/text_grid.h"

namespace grid {
namespace {

using testing::RecordingHost;

class GridProperties : public ::testing::Test {
 protected:
  GridProperties() {
    grid.SetColCount(3);
    host.ClearRecords();
  }

  // Client 300 x 200 (three columns of 80 fit), gutter 20 wide, header 18 high.
  static Rect All() { return {0, 0, 300, 200}; }
  static Rect Cells() { return {18, 16, 300, 200}; }
  static Rect Gutter() { return {0, 18, 20, 200}; }
  static Rect Header() { return {0, 0, 300, 18}; }

  RecordingHost host{{300, 200}};
  TTextGrid grid{host};
};

TEST(GridDefaults, NewGridHasFiveRowsAndNoColumns) {
  RecordingHost host;
  TTextGrid grid(host);
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.ColCount(), 0);
  EXPECT_EQ(grid.DefRowHeight(), 18);
  EXPECT_EQ(grid.DefColWidth(), 80);
  EXPECT_TRUE(grid.Flat());
  EXPECT_EQ(grid.Color(), clWindow);
  EXPECT_EQ(grid.GridColor(), clBtnFace);
  EXPECT_EQ(grid.HeaderLightColor(), clBtnHighlight);
  EXPECT_EQ(grid.HeaderDarkColor(), clBtnShadow);
  EXPECT_EQ(grid.SelectionColor(), 0x00CAFFFFu);
  EXPECT_EQ(grid.GutterKind(), TGutterKind::gkBlank);
  EXPECT_EQ(grid.GutterWidth(), 20);
  EXPECT_EQ(grid.HeaderLine(), 1);
  EXPECT_EQ(grid.LineStep(), 18);
  EXPECT_EQ(grid.PageStep(), 90);
  EXPECT_EQ(grid.UsedWidth(), 200);
  EXPECT_EQ(grid.Cursor(), 101);
  EXPECT_EQ(grid.CurrentCol(), 0);
  EXPECT_EQ(grid.FitSkipCol(), -1);
  EXPECT_TRUE(grid.Enabled());
}

TEST(GridDefaults, NewColumnsTakeTheGridsWidthColourAndFont) {
  RecordingHost host;
  TTextGrid grid(host);
  Font font;
  font.name = L"Arial";
  font.charset = charset::Turkish;
  grid.SetFont(font);
  grid.SetColor(0x00112233);
  grid.SetColCount(6);
  ASSERT_EQ(grid.ColCount(), 6);
  for (std::int32_t i = 0; i < 6; ++i) {
    const TTextColumn& column = grid.Columns()[i];
    EXPECT_EQ(column.Index(), i);
    EXPECT_EQ(column.Grid(), &grid);
    EXPECT_EQ(column.Width(), 80);
    EXPECT_EQ(column.Color(), 0x00112233u);
    EXPECT_EQ(column.Font(), font);
    EXPECT_EQ(column.HorzAlign(), THorzAlign::haLeft);
    EXPECT_EQ(column.VertAlign(), TVertAlign::vaCenter);
    EXPECT_TRUE(column.Visible());
    EXPECT_TRUE(column.CanResize());
    EXPECT_FALSE(column.ReadOnly());
  }
  EXPECT_EQ(grid.Columns()[4].DisplayName(), L"Column 4");
  grid.Columns()[4].SetTitle(L"Zaman");
  EXPECT_EQ(grid.Columns()[4].DisplayName(), L"Zaman");
}

struct SetterCase {
  const char* name;
  std::function<void(TTextGrid&)> change;
  enum Area { All, Cells, Gutter, Header, Nothing } area;
  bool relaysOut;
};

TEST_F(GridProperties, EachSetterRepaintsItsAreaOnceAndOnlyOnChange) {
  const SetterCase cases[] = {
      {"DefRowHeight", [](TTextGrid& g) { g.SetDefRowHeight(18); }, SetterCase::Nothing, false},
      {"DefColWidth", [](TTextGrid& g) { g.SetDefColWidth(80); }, SetterCase::Nothing, false},
      {"Flat", [](TTextGrid& g) { g.SetFlat(false); }, SetterCase::All, false},
      {"Color", [](TTextGrid& g) { g.SetColor(clBtnFace); }, SetterCase::All, false},
      {"AlternateColor", [](TTextGrid& g) { g.SetAlternateColor(0x00EEEEEE); }, SetterCase::Cells, false},
      {"GridColor", [](TTextGrid& g) { g.SetGridColor(clBlack); }, SetterCase::Cells, false},
      {"ShowGrid", [](TTextGrid& g) { g.SetShowGrid(false); }, SetterCase::Cells, false},
      {"HeaderColor", [](TTextGrid& g) { g.SetHeaderColor(clWhite); }, SetterCase::All, false},
      {"HeaderLightColor", [](TTextGrid& g) { g.SetHeaderLightColor(clWhite); }, SetterCase::All, false},
      {"HeaderDarkColor", [](TTextGrid& g) { g.SetHeaderDarkColor(clBlack); }, SetterCase::All, false},
      {"SelectionColor", [](TTextGrid& g) { g.SetSelectionColor(clWhite); }, SetterCase::Cells, false},
      {"HeaderFont", [](TTextGrid& g) { g.SetHeaderFont(g.HeaderFont()); }, SetterCase::Header, false},
      {"FooterFont", [](TTextGrid& g) { g.SetFooterFont(g.FooterFont()); }, SetterCase::All, false},
      {"GutterFont", [](TTextGrid& g) { g.SetGutterFont(g.GutterFont()); }, SetterCase::Gutter, false},
      {"FitToWidth", [](TTextGrid& g) { g.SetFitToWidth(true); }, SetterCase::All, true},
      {"AutoColWidth", [](TTextGrid& g) { g.SetAutoColWidth(true); }, SetterCase::All, true},
      {"GutterWidth", [](TTextGrid& g) { g.SetGutterWidth(20); }, SetterCase::Nothing, false},
      {"GutterKind blank to number", [](TTextGrid& g) { g.SetGutterKind(TGutterKind::gkNumber); }, SetterCase::Gutter,
       true},
      {"GutterStrings without string gutter", [](TTextGrid& g) { g.SetGutterStrings({L"a"}); }, SetterCase::Nothing,
       false},
      {"ShowFooter", [](TTextGrid& g) { g.SetShowFooter(false); }, SetterCase::Nothing, false},
      {"Enabled", [](TTextGrid& g) { g.SetEnabled(false); }, SetterCase::All, false},
      {"ReadOnly", [](TTextGrid& g) { g.SetReadOnly(true); }, SetterCase::Nothing, false},
  };
  for (const SetterCase& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingHost host({300, 200});
    TTextGrid grid(host);
    grid.SetColCount(3);
    host.ClearRecords();
    c.change(grid);
    std::vector<Rect> expected;
    switch (c.area) {
      case SetterCase::All: expected = {All()}; break;
      case SetterCase::Cells: expected = {Cells()}; break;
      case SetterCase::Gutter: expected = {Gutter()}; break;
      case SetterCase::Header: expected = {Header()}; break;
      case SetterCase::Nothing: break;
    }
    EXPECT_EQ(host.invalidated, expected);
    EXPECT_EQ(!host.scrollBarCalls.empty(), c.relaysOut);
  }
}

TEST_F(GridProperties, GutterKindToOrFromNoneRepaintsEverything) {
  grid.SetGutterKind(TGutterKind::gkNone);
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{All()}));
  EXPECT_EQ(grid.CellLeft(), 0);
  host.ClearRecords();
  grid.SetGutterKind(TGutterKind::gkPointer);
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{All()}));
  EXPECT_EQ(grid.CellLeft(), 20);
}

TEST_F(GridProperties, GutterStringsRepaintTheGutterOfAStringGutter) {
  grid.SetGutterKind(TGutterKind::gkString);
  host.ClearRecords();
  grid.SetGutterStrings({L"bir", L"iki"});
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{Gutter()}));
  EXPECT_EQ(grid.GutterStrings().size(), 2u);
}

TEST_F(GridProperties, DefRowHeightSetsTheStepsAndRelaysOut) {
  grid.SetDefRowHeight(20);
  EXPECT_EQ(grid.LineStep(), 20);
  EXPECT_EQ(grid.PageStep(), 100);
  EXPECT_EQ(grid.HeaderHeight(), 20);
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{All()}));
}

TEST_F(GridProperties, ARowHeightBelowOneAndANegativeRowCountAreTakenAsTheSmallestPossible) {
  grid.SetDefRowHeight(0);
  EXPECT_EQ(grid.DefRowHeight(), 1);
  EXPECT_EQ(grid.HeaderHeight(), 1);
  host.ClearRecords();
  grid.SetDefRowHeight(-18);
  EXPECT_TRUE(host.invalidated.empty()) << "the same height again";
  grid.VScroll(ScrollAction::LineDown, 0);

  grid.SetRowCount(-3);
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_EQ(grid.AddRow(), 0);
  grid.SetCells(2, 0, L"x");
  EXPECT_EQ(grid.Cells(2, 0), L"x");
}

TEST_F(GridProperties, DefColWidthRelaysOutOnlyWithoutAutoWidth) {
  grid.SetDefColWidth(60);
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{All()}));
  EXPECT_EQ(grid.Columns()[0].Width(), 80) << "existing columns keep their width";
  grid.SetAutoColWidth(true);
  host.ClearRecords();
  grid.SetDefColWidth(90);
  EXPECT_TRUE(host.invalidated.empty());
  EXPECT_TRUE(host.scrollBarCalls.empty());
}

TEST_F(GridProperties, ColourChangeKeepsExistingColumnColours) {
  grid.SetColor(0x00AABBCC);
  EXPECT_EQ(grid.Columns()[0].Color(), clWindow);
  EXPECT_EQ(grid.Columns().Add().Color(), 0x00AABBCCu);
}

TEST_F(GridProperties, GridFontReplacesEveryColumnFont) {
  Font own;
  own.height = -20;
  grid.Columns()[1].SetFont(own);
  Font font;
  font.name = L"Arial Narrow";
  grid.SetFont(font);
  for (std::int32_t i = 0; i < 3; ++i) EXPECT_EQ(grid.Columns()[i].Font(), font);
}

TEST_F(GridProperties, HeaderLineRebuildsTheSpansAndRelaysOut) {
  grid.Columns()[0].SetTitle(L"A|x");
  host.ClearRecords();
  grid.SetHeaderLine(2);
  EXPECT_EQ(grid.HeaderHeight(), 36);
  EXPECT_EQ(grid.HeaderSpans(), (std::vector<HeaderSpan>{{L"A", 0, 0, 0, 0}, {L"x", 0, 1, 0, 1}, {L"", 1, 0, 2, 1}}));
  EXPECT_EQ(host.invalidated.back(), All());
}

// A column's look repaints its strip: its screen extent widened by 3, full height.
TEST_F(GridProperties, ColumnLookChangesRepaintTheColumnStrip) {
  TTextColumn& column = grid.Columns()[1];  // client x 100..180 after the 20-pixel gutter
  const Rect strip{97, 0, 183, 200};
  const std::vector<std::function<void()>> changes = {
      [&] { column.SetFooter(L"toplam"); },
      [&] { column.SetColor(clWhite); },
      [&] { column.SetHorzAlign(THorzAlign::haRight); },
      [&] { column.SetVertAlign(TVertAlign::vaTop); },
      [&] { column.SetFont(column.Font()); },
      [&] { column.SetStrings({L"x"}); },
  };
  for (const auto& change : changes) {
    host.ClearRecords();
    change();
    EXPECT_EQ(host.invalidated, (std::vector<Rect>{strip}));
    EXPECT_TRUE(host.scrollBarCalls.empty()) << "no layout pass for a look change";
  }
  host.ClearRecords();
  column.SetColor(clWhite);
  column.SetHorzAlign(THorzAlign::haRight);
  EXPECT_TRUE(host.invalidated.empty());
}

TEST_F(GridProperties, ColumnTitleWidthAndVisibilityRelayOutTheGrid) {
  TTextColumn& column = grid.Columns()[1];
  column.SetTitle(L"HatNo");
  EXPECT_EQ(grid.HeaderSpans()[1].Caption, L"HatNo");
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{All()}));
  host.ClearRecords();
  column.SetWidth(47);
  EXPECT_EQ(grid.ColumnsWidth(), 207);
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{All()}));
  host.ClearRecords();
  column.SetVisible(false);
  EXPECT_EQ(grid.ColumnsWidth(), 160);
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{All()}));
  column.SetWidth(47);
  column.SetTitle(L"HatNo");
  EXPECT_EQ(host.invalidated.size(), 1u);
}

TEST_F(GridProperties, ShowingAColumnSparesItInTheFollowingShrink) {
  grid.SetGutterKind(TGutterKind::gkNone);
  grid.SetColCount(4);
  grid.SetFitToWidth(true);  // 4 x 75 = 300
  grid.Columns()[1].SetVisible(false);  // the other three grow to 100
  grid.Columns()[1].SetWidth(80);
  grid.Columns()[1].SetVisible(true);  // 380 into 300: only the other three give up room
  EXPECT_EQ(grid.Columns()[0].Width(), 73);
  EXPECT_EQ(grid.Columns()[1].Width(), 80);
  EXPECT_EQ(grid.Columns()[2].Width(), 73);
  EXPECT_EQ(grid.Columns()[3].Width(), 74);
  EXPECT_EQ(grid.FitSkipCol(), -1);
}

TEST_F(GridProperties, AssigningAColumnCopiesEverythingAndReportsOneChange) {
  TTextColumn& source = grid.Columns()[0];
  source.SetTitle(L"Sıra");
  source.SetWidth(39);
  source.SetFooter(L"f");
  source.SetColor(clWhite);
  source.SetHorzAlign(THorzAlign::haCenter);
  source.SetVertAlign(TVertAlign::vaBottom);
  source.SetCanResize(false);
  source.SetReadOnly(true);
  source.Tag = 7;
  source.Tag2 = 8;
  source.Hint = L"h";
  source.SetStrings({L"1", L"2"});
  TTextColumn& target = grid.Columns()[2];
  grid.Columns().BeginUpdate();
  target.Assign(source);
  host.ClearRecords();
  grid.Columns().EndUpdate();
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{All()}));
  EXPECT_EQ(target.Title(), L"Sıra");
  EXPECT_EQ(target.Width(), 39);
  EXPECT_EQ(target.Footer(), L"f");
  EXPECT_EQ(target.Color(), clWhite);
  EXPECT_EQ(target.HorzAlign(), THorzAlign::haCenter);
  EXPECT_EQ(target.VertAlign(), TVertAlign::vaBottom);
  EXPECT_FALSE(target.CanResize());
  EXPECT_TRUE(target.ReadOnly());
  EXPECT_EQ(target.Tag, 7);
  EXPECT_EQ(target.Tag2, 8);
  EXPECT_EQ(target.Hint, L"h");
  EXPECT_EQ(target.Strings(), (StringList{L"1", L"2"}));
}

TEST_F(GridProperties, SettingColumnsReplacesThemByCopies) {
  RecordingHost otherHost;
  TTextGrid other(otherHost);
  other.SetColCount(2);
  other.Columns()[0].SetTitle(L"a");
  other.Columns()[1].SetStrings({L"x"});
  grid.SetColumns(other.Columns());
  ASSERT_EQ(grid.ColCount(), 2);
  EXPECT_EQ(grid.Columns()[0].Title(), L"a");
  EXPECT_EQ(grid.Columns()[1].Strings(), (StringList{L"x"}));
  EXPECT_EQ(grid.Columns()[1].Grid(), &grid);
  other.Columns()[0].SetTitle(L"b");
  EXPECT_EQ(grid.Columns()[0].Title(), L"a");
}

TEST_F(GridProperties, ColCountResetsScrollingSelectsAndNotifies) {
  std::vector<std::pair<int, int>> notified;
  grid.OnColRowChanged = TOnColRowChanged([&](Component&, std::int32_t c, std::int32_t r) { notified.emplace_back(c, r); });
  grid.SetSelectArea({0, 0, 2, 2}, false);
  host.ClearRecords();
  grid.SetColCount(2);
  EXPECT_EQ(grid.SelectArea(), (Rect{0, 0, 0, 0}));
  EXPECT_EQ(grid.HScrollPos(), 0);
  EXPECT_EQ(notified, (std::vector<std::pair<int, int>>{{0, 0}}));
  EXPECT_EQ(host.invalidated, (std::vector<Rect>{All()}));
  grid.SetColCount(2);
  EXPECT_EQ(notified.size(), 1u);
  grid.SetColCount(0);
  EXPECT_EQ(grid.CurrentCol(), -1);
  EXPECT_EQ(grid.CurrentRow(), -1);
  EXPECT_EQ(notified.back(), (std::pair<int, int>{-1, -1}));
}

TEST_F(GridProperties, ColumnIndexOutsideTheCollectionRaises) {
  try {
    grid.Columns()[3];
    FAIL();
  } catch (const common::Error& e) {
    EXPECT_EQ(e.Message(), L"List index out of bounds (3)");
  }
}

}  // namespace
}  // namespace grid
