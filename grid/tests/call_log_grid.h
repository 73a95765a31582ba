// The grid as the main window configures it for the call log, and the log's per-call work.
#pragma once

#include <string>

#include "grid/text_grid.h"

namespace grid::testing {

inline void ConfigureAsCallLog(TTextGrid& grid) {
  grid.SetColCount(6);
  grid.SetRowCount(0);
  grid.SetFlat(false);
  grid.SetFitToWidth(true);
  grid.SetReadOnly(true);
  grid.SetGutterKind(TGutterKind::gkNone);
  grid.SetGutterWidth(0);
  grid.SetShowFooter(false);
  Font header = grid.HeaderFont();
  header.height = -14;
  grid.SetHeaderFont(header);
  Font footer = grid.FooterFont();
  footer.height = -16;
  grid.SetFooterFont(footer);
  Font cells = grid.Font();
  cells.height = -15;
  cells.charset = charset::Turkish;
  grid.SetFont(cells);
  const wchar_t* titles[] = {L"Sıra", L"HatNo", L"Arayan numara", L"Zaman", L"Cihaz Seri No", L"Ek bilgi"};
  const std::int32_t widths[] = {39, 47, 122, 121, 128, 92};
  grid.Columns().BeginUpdate();
  for (std::int32_t i = 0; i < 6; ++i) {
    TTextColumn& column = grid.Columns()[i];
    column.SetTitle(titles[i]);
    column.SetWidth(widths[i]);
    column.SetHorzAlign(THorzAlign::haCenter);
  }
  grid.Columns().EndUpdate();
}

// One call: keep 10 rows, append one, fill its six cells in one update.
inline void LogCall(TTextGrid& grid, std::int32_t number) {
  while (grid.RowCount() > 10) grid.DeleteRow(0);
  const std::int32_t row = grid.AddRow();
  grid.BeginUpdate();
  grid.SetCells(0, row, std::to_wstring(number));
  grid.SetCells(1, row, L"2");
  grid.SetCells(2, row, L"05321234567");
  grid.SetCells(3, row, L"08.12.2026 01:02:03");
  grid.SetCells(4, row, L"KP-0042");
  grid.SetCells(5, row, L"Ek");
  grid.EndUpdate();
}

}  // namespace grid::testing
