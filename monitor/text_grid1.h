// TextGrid1, the call list: the grid configured as the window describes it, and the call
// log's operations on it.
#pragma once

#include <cstdint>

#include "grid/text_grid.h"
#include "monitor/call_list.h"

namespace monitor {

inline constexpr std::int32_t CallListCursor = 101;

// Six centred columns, no rows, read-only, fitted to the width, no gutter or footer, a raised
// header; sizes and fonts scaled to the screen's density.
void ConfigureTextGrid1(grid::TTextGrid& grid, std::int32_t pixelsPerInch);

class TextGrid1CallList : public ICallList {
 public:
  explicit TextGrid1CallList(grid::TTextGrid& grid) : grid_(grid) {}
  std::int32_t RowCount() const override { return grid_.RowCount(); }
  std::int32_t AddRow() override { return grid_.AddRow(); }
  void DeleteRow(std::int32_t row) override { grid_.DeleteRow(row); }
  void SetCell(std::int32_t col, std::int32_t row, const std::wstring& text) override {
    grid_.SetCells(col, row, text);
  }
  void BeginUpdate() override { grid_.BeginUpdate(); }
  void EndUpdate() override { grid_.EndUpdate(); }
  void ClearCells() override { grid_.ClearCells(); }

 private:
  grid::TTextGrid& grid_;
};

}  // namespace monitor
