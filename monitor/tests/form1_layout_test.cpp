// TForm1's description and layout: every control with its caption and font, scaled from
// 114 pixels per inch, aligned controls fitted into their group boxes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "monitor/form1_layout.h"

namespace monitor {
namespace {

using ::testing::ElementsAre;

// A line of text is the character height and a little more, as a screen font measures.
std::int32_t LineHeight(const FontDescription& font) { return font.Height + font.Height / 5; }

std::map<std::wstring, PlacedControl> Arrange(std::int32_t ppi, std::int32_t width, std::int32_t height) {
  std::map<std::wstring, PlacedControl> byName;
  for (const auto& placed : ArrangeForm1(ppi, width, height, LineHeight))
    byName.emplace(placed.Control->Name, placed);
  return byName;
}

TEST(Form1Description, HoldsEveryControlOnceWithItsCaption) {
  std::map<std::wstring, std::wstring> captions;
  for (const auto& control : Form1Description()) {
    EXPECT_TRUE(captions.emplace(control.Name, control.Caption).second) << control.Name;
  }
  EXPECT_EQ(captions.size(), 24u);
  EXPECT_EQ(captions[L"TForm1"], L"TEST");
  EXPECT_EQ(captions[L"GroupBox2"], L"  Bağlantı     ");
  EXPECT_EQ(captions[L"tek"], L"  Sinyaller   ");
  EXPECT_EQ(captions[L"Label22"], L"Çağrı sayısı : ");
  EXPECT_EQ(captions[L"Label5"], L"0");
  EXPECT_EQ(captions[L"Label9"], L"--");
  EXPECT_EQ(captions[L"Label10"], L"Mobil çağrılar, aynı anda bir tane uygulamaya iletilir");
  EXPECT_EQ(captions[L"Label11"], L"Bağlantı durumu Android uygulamasında gösterilir");
  EXPECT_EQ(captions[L"Label15"], L"Telefon 4");
  EXPECT_EQ(captions[L"Label3"], L"-");

  const auto& form = Form1Description().front();
  EXPECT_EQ(form.Width, 575);
  EXPECT_EQ(form.Height, 463);
  EXPECT_STREQ(form.Font.Name, L"MS Sans Serif");
  EXPECT_EQ(form.Font.Height, 11);
}

TEST(Form1Description, TimersAndMenu) {
  const auto timers = Form1Timers();
  ASSERT_EQ(timers.size(), 2u);
  EXPECT_STREQ(timers[0].Name, L"Timer1");
  EXPECT_EQ(timers[0].IntervalMs, 500u);
  EXPECT_EQ(timers[1].IntervalMs, 50u);
  ASSERT_EQ(PopupMenu1Items().size(), 2u);
  EXPECT_STREQ(PopupMenu1Items()[0].Caption, L"Listeyi sil");
  EXPECT_STREQ(PopupMenu1Items()[1].Caption, L"Çıkış");
  EXPECT_EQ(PopupMenu1Openers().size(), 3u);
}

TEST(Form1Description, EveryControlHasItsOwnWindowIdentifier) {
  std::set<std::int32_t> ids;
  for (const auto& control : Form1Description().subspan(1)) {
    const std::int32_t id = ControlId(control.Name);
    EXPECT_GE(id, 100);
    EXPECT_TRUE(ids.insert(id).second) << control.Name;
  }
  EXPECT_EQ(ControlId(L"TForm1"), 0);
  EXPECT_EQ(ControlId(L"Label99"), 0);
}

TEST(ScaleFromDesign, IsProportionalAndRoundsHalfAway) {
  EXPECT_EQ(ScaleFromDesign(575, 114), 575);
  EXPECT_EQ(ScaleFromDesign(575, 96), 484);
  EXPECT_EQ(ScaleFromDesign(463, 144), 585);
  EXPECT_EQ(ScaleFromDesign(1, 57), 1);
  EXPECT_EQ(ScaleFromDesign(-1, 57), -1);
  EXPECT_EQ(ScaleFromDesign(19, 96), 16);
}

TEST(ArrangeForm1, AtTheDesignedDensityTheGridAndAreasSitAsDesigned) {
  // 575 × 463 less a frame of 9 and a caption of 26.
  auto placed = Arrange(114, 557, 428);
  const std::int32_t caption = LineHeight({L"Arial", 11, false, 1}) + 2;

  EXPECT_EQ(placed.at(L"GroupBox4").Place, (Bounds{0, 0, 557, 428}));
  EXPECT_EQ(placed.at(L"TextGrid1").Place, (Bounds{2, caption, 553, 226}));
  const std::int32_t areaTop = caption + 226;
  EXPECT_EQ(placed.at(L"GroupBox2").Place, (Bounds{2, areaTop, 335, 428 - 2 - areaTop}));
  EXPECT_EQ(placed.at(L"tek").Place, (Bounds{555 - 208, areaTop, 208, 428 - 2 - areaTop}));

  EXPECT_EQ(placed.at(L"Label22").Place, (Bounds{2 + 14, areaTop + 19, 0, 0}));
  EXPECT_EQ(placed.at(L"Label25").Place, (Bounds{2 + 14, areaTop + 105, 0, 0}));
  EXPECT_EQ(placed.at(L"ProgressBar3").Place, (Bounds{347 + 86, areaTop + 94, 91, 20}));
  EXPECT_EQ(placed.at(L"Label4").Place.Width, 25);
  EXPECT_EQ(placed.at(L"Label4").Place.Left, 347 + 182);
  EXPECT_EQ(placed.at(L"Label22").Font.Height, 19);
  EXPECT_TRUE(placed.at(L"Label22").Font.Italic);
  EXPECT_STREQ(placed.at(L"Label24").Font.Name, L"Arial Narrow");
  EXPECT_EQ(placed.at(L"TextGrid1").Font.Charset, TurkishCharset);
}

TEST(ArrangeForm1, AtAnotherDensityPlacesSizesAndFontsScaleInProportion) {
  auto placed = Arrange(96, 470, 361);
  EXPECT_EQ(placed.at(L"TextGrid1").Place.Height, ScaleFromDesign(226, 96));
  EXPECT_EQ(placed.at(L"GroupBox2").Place.Width, ScaleFromDesign(335, 96));
  EXPECT_EQ(placed.at(L"tek").Place.Width, ScaleFromDesign(208, 96));
  EXPECT_EQ(placed.at(L"ProgressBar1").Place.Width, ScaleFromDesign(91, 96));
  EXPECT_EQ(placed.at(L"Label22").Font.Height, 16);
  EXPECT_EQ(placed.at(L"Label10").Font.Height, 11);
  const auto& area = placed.at(L"GroupBox2").Place;
  EXPECT_EQ(placed.at(L"Label9").Place.Left, area.Left + ScaleFromDesign(14, 96));
  EXPECT_EQ(placed.at(L"Label9").Place.Top, area.Top + ScaleFromDesign(53, 96));
}

TEST(ArrangeForm1, ParentsComeBeforeTheirControls) {
  std::vector<std::wstring> seen{L"TForm1"};
  for (const auto& placed : ArrangeForm1(114, 557, 428, LineHeight)) {
    EXPECT_NE(std::find(seen.begin(), seen.end(), placed.Control->Parent), seen.end());
    seen.push_back(placed.Control->Name);
  }
  EXPECT_EQ(seen.size(), 24u);
}

}  // namespace
}  // namespace monitor
