// TextGrid1, the call list: the grid configured as the window describes it, and the call
// log's operations on it.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "grid/text_grid.h"
#include "monitor/call_list.h"

namespace monitor {

inline constexpr std::int32_t CallListCursor = 101;

// Six centred columns, no rows, read-only, fitted to the width, no gutter or footer, a raised
// header; sizes and fonts scaled to the screen's density.
void ConfigureTextGrid1(grid::TTextGrid& grid, std::int32_t pixelsPerInch);

class TextGrid1CallList : public ICallList {
 public:
  // paintNow, when given, paints what EndUpdate invalidated at once rather than when the
  // message loop gets to it.
  explicit TextGrid1CallList(grid::TTextGrid& grid, std::function<void()> paintNow = {})
      : grid_(grid), paintNow_(std::move(paintNow)) {}
  std::int32_t RowCount() const override { return grid_.RowCount(); }
  std::int32_t AddRow() override { return grid_.AddRow(); }
  void DeleteRow(std::int32_t row) override { grid_.DeleteRow(row); }
  void SetCell(std::int32_t col, std::int32_t row, const std::wstring& text) override {
    grid_.SetCells(col, row, text);
  }
  void BeginUpdate() override { grid_.BeginUpdate(); }
  void EndUpdate() override {
    grid_.EndUpdate();
    if (paintNow_) paintNow_();
  }
  void ClearCells() override { grid_.ClearCells(); }

 private:
  grid::TTextGrid& grid_;
  std::function<void()> paintNow_;
};

}  // namespace monitor
