// TTextGrid layout: the layout pass, cell geometry in content and client coordinates, the
// selection's repaint and the named repaint rectangles. All arithmetic is overflow-checked.
#include "grid/text_grid.h"

#include <algorithm>

#include "common/checked_int.h"
#include "grid/fit_to_width.h"

namespace grid {

using namespace common::checked;

namespace {

// Rounds a non-negative value up to a whole multiple of step.
std::int32_t RoundUp(std::int32_t value, std::int32_t step) {
  std::int32_t rest = value % step;
  return rest == 0 ? value : Add(value, Sub(step, rest));
}

std::int32_t Clamp(std::int32_t value, std::int32_t high) { return std::max(0, std::min(value, high)); }

}  // namespace

// ---- The layout pass ----

std::int32_t TTextGrid::VisibleColumnsWidth() const {
  std::int32_t total = 0;
  for (std::int32_t col = 0; col < ColCount(); ++col)
    if (ColumnAt(col).Visible()) total = Add(total, ColumnAt(col).width_);
  return total;
}

void TTextGrid::ApplyAutoColWidth() {
  Canvas& canvas = host_->DrawingCanvas();
  canvas.SetFont(font_);
  for (std::int32_t col = 0; col < ColCount(); ++col) {
    TTextColumn& column = ColumnAt(col);
    std::int32_t widest = 0;
    for (const std::wstring& text : column.strings_) widest = std::max(widest, canvas.TextExtent(text).width);
    column.width_ = std::max({defColWidth_, 20, Add(7, widest)});
  }
}

void TTextGrid::FitColumns(std::int32_t available) {
  std::vector<FitColumn> fit;
  fit.reserve(static_cast<std::size_t>(ColCount()));
  for (std::int32_t col = 0; col < ColCount(); ++col) {
    const TTextColumn& column = ColumnAt(col);
    fit.push_back({column.width_, column.Visible(), column.CanResize()});
  }
  columnsWidth_ = FitColumnsToWidth(fit, available, fitSkipCol_);
  for (std::int32_t col = 0; col < ColCount(); ++col) ColumnAt(col).width_ = fit[static_cast<std::size_t>(col)].width;
}

void TTextGrid::Recalculate() {
  if (FirstVisibleCol() < 0) {
    headerHeight_ = cellLeft_ = columnsWidth_ = rowsHeight_ = 0;
    ShowScrollBars(false, false);
    return;
  }
  if (autoColWidth_) ApplyAutoColWidth();

  cellLeft_ = gutterKind_ != TGutterKind::gkNone ? gutterWidth_ : 0;
  headerHeight_ = Mul(headerLine_, defRowHeight_);
  rowsHeight_ = Mul(rowCount_, defRowHeight_);
  const std::int32_t footerHeight = showFooter_ ? defRowHeight_ : 0;
  Size client = ClientSize();
  const std::int32_t availableWidth = Sub(client.width, cellLeft_);
  const std::int32_t availableHeight = Sub(Sub(client.height, headerHeight_), footerHeight);

  columnsWidth_ = VisibleColumnsWidth();
  if (fitToWidth_) {
    FitColumns(availableWidth);
    fitSkipCol_ = -1;
  }
  if (columnsWidth_ < availableWidth) hScrollPos_ = 0;
  if (rowsHeight_ < availableHeight) vScrollPos_ = 0;

  const bool verticalBar = availableHeight < rowsHeight_;
  ShowScrollBars(availableWidth < columnsWidth_, verticalBar);
  client = ClientSize();

  hScrollMax_ = std::max(0, Add(Sub(columnsWidth_, client.width), cellLeft_));
  vScrollMax_ = RoundUp(std::max(0, Sub(Add(Add(rowsHeight_, footerHeight), headerHeight_), client.height)), defRowHeight_);
  if (showFooter_) {
    footerTop_ = verticalBar ? Sub(Mul(Sub(Div(client.height, defRowHeight_), 1), defRowHeight_), 1)
                             : Sub(Mul(Add(headerLine_, rowCount_), defRowHeight_), 1);
  }

  hScrollPos_ = Clamp(hScrollPos_, hScrollMax_);
  vScrollPos_ = Clamp(vScrollPos_, vScrollMax_);
  SetScrollBar(ScrollBarKind::Horizontal, hScrollMax_, scroll_mask::All, hScrollPos_);
  SetScrollBar(ScrollBarKind::Vertical, vScrollMax_, scroll_mask::All, vScrollPos_);

  usedWidth_ = std::min(client.width, Add(columnsWidth_, cellLeft_));
  usedHeight_ = std::min(client.height, Add(Add(rowsHeight_, headerHeight_), footerHeight));
  cellArea_ = {cellLeft_, headerHeight_, client.width, showFooter_ ? footerTop_ : client.height};
}

bool TTextGrid::BuildHeaderSpans() {
  std::vector<HeaderSpan> spans = grid::BuildHeaderSpans(*columns_, headerLine_);
  const bool changed = spans != headerSpans_;
  headerSpans_ = std::move(spans);
  Recalculate();
  return changed;
}

void TTextGrid::SetScrollBar(ScrollBarKind bar, std::int32_t maximum, unsigned mask, std::int32_t position) {
  host_->SetScrollBar(bar, maximum, mask, position);
}

void TTextGrid::ShowScrollBars(bool horizontal, bool vertical) { host_->ShowScrollBars(horizontal, vertical); }

void TTextGrid::WindowCreated() {
  ShowScrollBars(false, false);
  Recalculate();
}

// Columns fitted to the new width move, and with them every cell: all is drawn again.
void TTextGrid::Resized() {
  const Placement before = CurrentPlacement();
  Recalculate();
  if (ColCount() > 0) MakeCellVisible(currentCol_, currentRow_);
  if (CurrentPlacement() != before) RepaintAll();
}

// ---- Geometry ----

std::int32_t TTextGrid::ColumnLeft(std::int32_t col) const {
  std::int32_t left = 0;
  for (std::int32_t c = 0; c < std::min(col, ColCount()); ++c)
    if (ColumnAt(c).Visible()) left = Add(left, ColumnAt(c).width_);
  return left;
}

Rect TTextGrid::CellRect(std::int32_t col, std::int32_t row) const {
  if (col == -1 || row == -1) return {};
  const std::int32_t left = ColumnLeft(col);
  const std::int32_t width = col < ColCount() && ColumnAt(col).Visible() ? ColumnAt(col).width_ : 0;
  const std::int32_t top = Mul(row, defRowHeight_);
  return {Sub(left, 1), Sub(top, 1), Add(left, width), Add(top, defRowHeight_)};
}

Rect TTextGrid::ContentToClient(const Rect& rect) const {
  return Offset(rect, Sub(cellLeft_, hScrollPos_), Sub(headerHeight_, vScrollPos_));
}

std::int32_t TTextGrid::ColFromX(std::int32_t x) const {
  if (x < cellLeft_) return -1;
  const std::int32_t contentX = Sub(Add(x, hScrollPos_), cellLeft_);
  std::int32_t left = 0;
  std::int32_t col = 0;
  for (; col < ColCount(); ++col) {
    if (left >= contentX) break;
    if (ColumnAt(col).Visible()) left = Add(left, ColumnAt(col).width_);
  }
  return col - 1 < 0 ? -1 : col - 1;
}

std::int32_t TTextGrid::RowFromY(std::int32_t y) const {
  if (y < headerHeight_) return -1;
  const std::int32_t row = Div(Sub(Add(y, vScrollPos_), headerHeight_), defRowHeight_);
  return row > rowCount_ - 1 ? -1 : row;
}

Point TTextGrid::CellFromPoint(std::int32_t x, std::int32_t y) const {
  const std::int32_t col = std::max(0, ColFromX(x));
  const std::int32_t row = Div(Sub(Add(y, vScrollPos_), headerHeight_), defRowHeight_);
  return {col, std::max(0, std::min(row, rowCount_ - 1))};
}

// ---- Selection ----

void TTextGrid::SetSelectArea(const Rect& area, bool force) {
  if (area == selectArea_ && !force) return;
  HideEditing();
  const Rect old = selectArea_;
  selectArea_ = area;
  const Rect topLeft = CellRect(std::min(old.left, area.left), std::min(old.top, area.top));
  const Rect bottomRight = CellRect(std::max(old.right, area.right), std::max(old.bottom, area.bottom));
  host_->Invalidate(Inflate(ContentToClient({topLeft.left, topLeft.top, bottomRight.right, bottomRight.bottom}), 3));
  if (gutterKind_ == TGutterKind::gkPointer) RepaintGutter();
}

// ---- Repaint rectangles ----

void TTextGrid::RepaintAll() {
  const Size client = ClientSize();
  host_->Invalidate({0, 0, client.width, client.height});
}

void TTextGrid::RepaintCells() {
  const Size client = ClientSize();
  host_->Invalidate({Sub(cellLeft_, 2), Sub(headerHeight_, 2), client.width, client.height});
}

void TTextGrid::RepaintGutter() { host_->Invalidate({0, headerHeight_, cellLeft_, ClientSize().height}); }

void TTextGrid::RepaintHeader() { host_->Invalidate({0, 0, ClientSize().width, headerHeight_}); }

void TTextGrid::RepaintBelow(std::int32_t y) {
  const Size client = ClientSize();
  host_->Invalidate({0, y, client.width, client.height});
}

void TTextGrid::RepaintRightOf(std::int32_t x) {
  const Size client = ClientSize();
  host_->Invalidate({x, 0, client.width, client.height});
}

void TTextGrid::RepaintColumn(std::int32_t col) {
  const TTextColumn& column = ColumnAt(col);
  const std::int32_t left = Sub(Add(cellLeft_, ColumnLeft(col)), hScrollPos_);
  const std::int32_t width = column.Visible() ? column.width_ : 0;
  host_->Invalidate({Sub(left, 3), 0, Add(Add(left, width), 3), ClientSize().height});
}

}  // namespace grid
