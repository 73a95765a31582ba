// TTextGrid: construction, published properties and their side effects, the cell store and
// the row operations.
#include "grid/text_grid.h"

#include <algorithm>

#include "common/checked_int.h"
#include "grid/grid_errors.h"

namespace grid {

using namespace common::checked;

TTextGrid::TTextGrid(GridHost& host)
    : host_(&host),
      columns_(std::make_unique<TTextColumns>(*this)),
      editor_(std::make_unique<TTextInplace>(*this)) {}

TTextGrid::~TTextGrid() = default;

// ---- Properties ----

std::int32_t TTextGrid::ColCount() const { return columns_->Count(); }

void TTextGrid::SetColCount(std::int32_t value) {
  if (value == ColCount()) return;
  columns_->BeginUpdate();
  try {
    while (ColCount() > std::max(value, 0)) columns_->Delete(ColCount() - 1);
    while (ColCount() < value) columns_->Add();
    hScrollPos_ = 0;
    vScrollPos_ = 0;
    ClampCurrentCell();
    SelectCurrentCellOnly();
  } catch (...) {
    columns_->EndUpdate();
    throw;
  }
  columns_->EndUpdate();
  NotifyColRowChanged();
}

void TTextGrid::SetRowCount(std::int32_t value) {
  value = std::max(value, 0);  // as ColCount, a negative count means none
  if (value == rowCount_) return;
  ChangeRowCount(value, std::min(value, rowCount_), false);
}

void TTextGrid::SetDefRowHeight(std::int32_t value) {
  value = std::max(value, 1);  // every row must have a height: the layout divides by it
  if (value == defRowHeight_) return;
  const std::int32_t pageStep = Mul(5, value);
  defRowHeight_ = value;
  lineStep_ = value;
  pageStep_ = pageStep;
  Recalculate();
  RepaintAll();
}

void TTextGrid::SetDefColWidth(std::int32_t value) {
  if (value == defColWidth_) return;
  defColWidth_ = value;
  if (autoColWidth_) return;
  Recalculate();
  RepaintAll();
}

void TTextGrid::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  RepaintAll();
}

void TTextGrid::SetColor(Colour value) {
  if (value == color_) return;
  color_ = value;
  RepaintAll();
}

void TTextGrid::SetAlternateColor(Colour value) {
  if (value == alternateColor_) return;
  alternateColor_ = value;
  RepaintCells();
}

void TTextGrid::SetGridColor(Colour value) {
  if (value == gridColor_) return;
  gridColor_ = value;
  RepaintCells();
}

void TTextGrid::SetShowGrid(bool value) {
  if (value == showGrid_) return;
  showGrid_ = value;
  RepaintCells();
}

void TTextGrid::SetHeaderLine(std::int32_t value) {
  if (value == headerLine_) return;
  headerLine_ = value;
  BuildHeaderSpans();
  RepaintAll();
}

void TTextGrid::SetHeaderColor(Colour value) {
  if (value == headerColor_) return;
  headerColor_ = value;
  RepaintAll();
}

void TTextGrid::SetHeaderLightColor(Colour value) {
  if (value == headerLightColor_) return;
  headerLightColor_ = value;
  RepaintAll();
}

void TTextGrid::SetHeaderDarkColor(Colour value) {
  if (value == headerDarkColor_) return;
  headerDarkColor_ = value;
  RepaintAll();
}

void TTextGrid::SetSelectionColor(Colour value) {
  if (value == selectionColor_) return;
  selectionColor_ = value;
  RepaintCells();
}

void TTextGrid::SetHeaderFont(const grid::Font& value) {
  headerFont_ = value;
  RepaintHeader();
}

void TTextGrid::SetFooterFont(const grid::Font& value) {
  footerFont_ = value;
  RepaintAll();
}

void TTextGrid::SetGutterFont(const grid::Font& value) {
  gutterFont_ = value;
  RepaintGutter();
}

void TTextGrid::SetFont(const grid::Font& value) {
  font_ = value;
  for (std::int32_t col = 0; col < ColCount(); ++col) ColumnAt(col).SetFont(value);
  RepaintAll();
}

void TTextGrid::SetFitToWidth(bool value) {
  if (value == fitToWidth_) return;
  fitToWidth_ = value;
  hScrollPos_ = 0;
  Recalculate();
  RepaintAll();
}

void TTextGrid::SetAutoColWidth(bool value) {
  if (value == autoColWidth_) return;
  autoColWidth_ = value;
  Recalculate();
  RepaintAll();
}

void TTextGrid::SetColumns(const TTextColumns& value) { columns_->Assign(value); }

void TTextGrid::SetGutterKind(TGutterKind value) {
  if (value == gutterKind_) return;
  const bool bothShown = gutterKind_ != TGutterKind::gkNone && value != TGutterKind::gkNone;
  gutterKind_ = value;
  Recalculate();
  if (bothShown)
    RepaintGutter();
  else
    RepaintAll();
}

void TTextGrid::SetGutterWidth(std::int32_t value) {
  if (value == gutterWidth_) return;
  gutterWidth_ = value;
  Recalculate();
  RepaintAll();
}

void TTextGrid::SetGutterStrings(const std::vector<std::wstring>& value) {
  gutterStrings_ = value;
  if (gutterKind_ == TGutterKind::gkString) RepaintGutter();
}

void TTextGrid::SetShowFooter(bool value) {
  if (value == showFooter_) return;
  showFooter_ = value;
  Recalculate();
  RepaintAll();
}

void TTextGrid::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  RepaintAll();
}

// ---- Column notifications ----

void TTextGrid::ColumnChanged(const TTextColumn& column) { RepaintColumn(column.Index()); }

void TTextGrid::ColumnsChanged() {
  KeepSelectionOnColumns();
  BuildHeaderSpans();
  RepaintAll();
}

TTextColumn& TTextGrid::ColumnAt(std::int32_t col) const { return (*columns_)[col]; }

// ---- Cells ----

std::wstring TTextGrid::Cells(std::int32_t col, std::int32_t row) const {
  if (col > ColCount() - 1 || row > rowCount_ - 1) throw CellIndexError();
  return CellText(col, row);
}

void TTextGrid::SetCells(std::int32_t col, std::int32_t row, const std::wstring& text) {
  StoreCell(col, row, false, text);
}

std::wstring TTextGrid::CellText(std::int32_t col, std::int32_t row) const {
  const StringList& strings = ColumnAt(col).strings_;
  if (row < 0) throw ListIndexError(row);
  return static_cast<std::size_t>(row) < strings.size() ? strings[static_cast<std::size_t>(row)] : std::wstring();
}

void TTextGrid::StoreCell(std::int32_t col, std::int32_t row, bool byUser, const std::wstring& text) {
  if (ColCount() == 0 || rowCount_ == 0) return;
  if (col > ColCount() - 1 || row > rowCount_ - 1) throw CellIndexError();
  TTextColumn& column = ColumnAt(col);
  if (byUser && column.ReadOnly()) return;
  if (row < 0) throw ListIndexError(row);
  StringList& strings = column.strings_;
  const auto index = static_cast<std::size_t>(row);
  if (strings.size() <= index) strings.resize(index + 1);
  if (strings[index] == text) return;
  if (byUser) {
    bool canChange = true;
    OnCellChanging(*this, col, row, canChange);
    if (!canChange) return;
    std::wstring str = text;
    OnCellChange(*this, col, row, str);
    strings[index] = std::move(str);
  } else {
    strings[index] = text;
  }
  if (updating_)
    NoteUpdatedCell(col, row);
  else
    RedrawCellInside(col, row, false);
}

void TTextGrid::BeginUpdate() {
  updating_ = true;
  HideEditing();
}

void TTextGrid::EndUpdate() {
  updating_ = false;
  RepaintUpdatedCells();
}

// ---- Rows ----

std::int32_t TTextGrid::AddRow() {
  HideEditing();
  const std::int32_t newRow = rowCount_;
  for (std::int32_t col = 0; col < ColCount(); ++col) {
    StringList& strings = ColumnAt(col).strings_;
    const auto needed = static_cast<std::size_t>(Add(newRow, 1));
    if (strings.size() < needed) strings.resize(needed);
    strings[static_cast<std::size_t>(newRow)].clear();
  }
  SetRowCount(Add(rowCount_, 1));
  return rowCount_ - 1;
}

void TTextGrid::InsertRow(std::int32_t row) {
  HideEditing();
  if (row < 0 || row >= rowCount_) return;
  for (std::int32_t col = 0; col < ColCount(); ++col) {
    StringList& strings = ColumnAt(col).strings_;
    if (strings.size() < static_cast<std::size_t>(row)) strings.resize(static_cast<std::size_t>(row));
    strings.insert(strings.begin() + row, std::wstring());
  }
  ChangeRowCount(Add(rowCount_, 1), row, false);
}

void TTextGrid::DeleteRow(std::int32_t row) {
  HideEditing();
  if (row < 0 || row >= rowCount_) return;
  for (std::int32_t col = 0; col < ColCount(); ++col) {
    StringList& strings = ColumnAt(col).strings_;
    if (strings.size() <= static_cast<std::size_t>(row)) continue;
    // The list keeps its length, so an entry at or beyond RowCount stays empty.
    strings.erase(strings.begin() + row);
    strings.emplace_back();
  }
  if (currentRow_ == rowCount_ - 1) currentRow_ -= 1;
  ChangeRowCount(rowCount_ - 1, row, true);
}

void TTextGrid::ClearCells() {
  for (std::int32_t col = 0; col < ColCount(); ++col) ColumnAt(col).strings_.clear();
  RepaintCells();
}

// ---- Current cell ----

void TTextGrid::ClampCurrentCell() {
  currentCol_ = std::max(0, std::min(currentCol_, ColCount() - 1));
  currentRow_ = std::max(0, std::min(currentRow_, rowCount_ - 1));
  if (rowCount_ == 0 || ColCount() == 0) {
    currentCol_ = -1;
    currentRow_ = -1;
    fillHandleRect_ = kNoArea;  // nothing to drag until a frame is drawn again
  }
}

void TTextGrid::SelectCurrentCellOnly() {
  anchorCol_ = currentCol_;
  anchorRow_ = currentRow_;
  selectArea_ = {currentCol_, currentRow_, currentCol_, currentRow_};
}

// Columns added or deleted one by one leave no current cell, anchor or block on a column
// that is gone, nor a grid with cells but no current cell.
void TTextGrid::KeepSelectionOnColumns() {
  const bool onColumns = std::max({currentCol_, anchorCol_, selectArea_.right}) < ColCount();
  const bool currentLost = currentCol_ < 0 && ColCount() > 0 && rowCount_ > 0;
  if (onColumns && !currentLost) return;
  ClampCurrentCell();
  SelectCurrentCellOnly();
}

void TTextGrid::NotifyColRowChanged() { OnColRowChanged(*this, currentCol_, currentRow_); }

std::int32_t TTextGrid::FirstVisibleCol() const {
  for (std::int32_t col = 0; col < ColCount(); ++col)
    if (ColumnAt(col).Visible()) return col;
  return -1;
}

std::int32_t TTextGrid::LastVisibleCol() const {
  for (std::int32_t col = ColCount() - 1; col >= 0; --col)
    if (ColumnAt(col).Visible()) return col;
  return -1;
}

std::int32_t TTextGrid::NextVisibleCol(std::int32_t col) const {
  for (std::int32_t next = std::max(col + 1, 0); next < ColCount(); ++next)
    if (ColumnAt(next).Visible()) return next;
  return col;
}

std::int32_t TTextGrid::PrevVisibleCol(std::int32_t col) const {
  for (std::int32_t prev = std::min(col - 1, ColCount() - 1); prev >= 0; --prev)
    if (ColumnAt(prev).Visible()) return prev;
  return col;
}



}  // namespace grid
