#include "monitor/text_grid1.h"

#include <array>

#include "monitor/form1_layout.h"

namespace monitor {
namespace {

// The designed row height: the header and the eleven rows fill the grid's designed height.
constexpr std::int32_t RowHeight = 18;

struct CallColumn {
  const wchar_t* Title;
  std::int32_t Width;  // at the designed density
};

constexpr std::array<CallColumn, 6> CallColumns{{{L"Sıra", 39},
                                                 {L"HatNo", 47},
                                                 {L"Arayan numara", 122},
                                                 {L"Zaman", 121},
                                                 {L"Cihaz Seri No", 128},
                                                 {L"Ek bilgi", 92}}};

grid::Font ScaledFont(grid::Font font, std::int32_t designHeight, std::uint8_t charset,
                      std::int32_t pixelsPerInch) {
  font.name = L"MS Sans Serif";
  font.height = -ScaleFromDesign(designHeight, pixelsPerInch);
  font.charset = charset;
  font.pixelsPerInch = pixelsPerInch;
  return font;
}

}  // namespace

void ConfigureTextGrid1(grid::TTextGrid& grid, std::int32_t pixelsPerInch) {
  grid.SetColCount(static_cast<std::int32_t>(CallColumns.size()));
  grid.SetRowCount(0);
  grid.SetFlat(false);
  grid.SetFitToWidth(true);
  grid.SetReadOnly(true);
  grid.SetGutterKind(grid::TGutterKind::gkNone);
  grid.SetGutterWidth(0);
  grid.SetShowFooter(false);
  grid.SetCursor(CallListCursor);
  grid.SetDefRowHeight(ScaleFromDesign(RowHeight, pixelsPerInch));
  grid.SetHeaderFont(ScaledFont(grid.HeaderFont(), 14, grid::charset::Default, pixelsPerInch));
  grid.SetFooterFont(ScaledFont(grid.FooterFont(), 16, grid::charset::Default, pixelsPerInch));
  grid.SetFont(ScaledFont(grid.Font(), 15, grid::charset::Turkish, pixelsPerInch));
  grid.Columns().BeginUpdate();
  for (std::int32_t i = 0; i < grid.Columns().Count(); ++i) {
    grid::TTextColumn& column = grid.Columns()[i];
    column.SetTitle(CallColumns[i].Title);
    column.SetWidth(ScaleFromDesign(CallColumns[i].Width, pixelsPerInch));
    column.SetHorzAlign(grid::THorzAlign::haCenter);
  }
  grid.Columns().EndUpdate();
}

}  // namespace monitor
