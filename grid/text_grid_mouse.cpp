// TTextGrid mouse: the hit test and its zones, mouse-down in each zone, the drags (cell
// block, fill handle, header, gutter, column edge) and the tiled fill copy at mouse-up.
#include "grid/text_grid.h"

#include <algorithm>
#include <vector>

#include "common/checked_int.h"

namespace grid {

using namespace common::checked;

namespace {

std::int32_t CursorOfZone(HitZone zone) {
  switch (zone) {
    case HitZone::Corner: return cursor::LeftTop;
    case HitZone::Gutter: return cursor::Right;
    case HitZone::Header: return cursor::Down;
    case HitZone::Cell: return cursor::Plus;
    case HitZone::ColumnEdge: return cursor::HSplit;
    case HitZone::FillHandle: return cursor::Cross;
    case HitZone::None: break;
  }
  return cursor::Default;
}

}  // namespace

HitZone TTextGrid::HitTest(std::int32_t x, std::int32_t y) {
  const std::int32_t cx = Sub(Add(x, hScrollPos_), cellLeft_);
  const std::int32_t cy = Sub(Add(y, vScrollPos_), headerHeight_);
  bool edge = false;
  if (!autoColWidth_) {
    for (std::int32_t col = 0; col < ColCount(); ++col) {
      const std::int32_t e = ColumnLeft(col + 1);
      if (Sub(e, 2) < cx && cx < Add(e, 2)) {
        sizingCol_ = col;
        edge = ColumnAt(col).CanResize();
        break;
      }
    }
  }
  if (fillHandleRect_.Contains({x, y})) return HitZone::FillHandle;
  if (edge) return HitZone::ColumnEdge;
  if (x < cellLeft_ && y < headerHeight_) return HitZone::Corner;
  if (x < cellLeft_ && y > headerHeight_ && cy < rowsHeight_) return HitZone::Gutter;
  if (y < headerHeight_ && x > cellLeft_ && cx < columnsWidth_) return HitZone::Header;
  if (x > cellLeft_ && y > headerHeight_ && cx < columnsWidth_ && cy < rowsHeight_) return HitZone::Cell;
  return HitZone::None;
}

void TTextGrid::SetZone(HitZone zone) {
  zone_ = zone;
  cursor_ = CursorOfZone(zone);
  host_->SetCursor(cursor_);
}

bool TTextGrid::IsCell(std::int32_t col, std::int32_t row) const {
  return col >= 0 && row >= 0 && col < ColCount() && row < rowCount_;
}

// ---- Mouse down ----

void TTextGrid::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
  if (enabled_) {
    MouseDownInZone(button, shift, x, y);
    dragging_ = true;
    host_->SetCapture();
    host_->SetFocus();
  }
  OnMouseDown(*this, button, shift, x, y);
}

void TTextGrid::MouseDownInZone(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
  switch (zone_) {
    case HitZone::Cell: {
      typedText_.clear();
      const Point cell = CellFromPoint(x, y);
      if (cell.x == currentCol_ && cell.y == currentRow_) {
        MakeCellVisible(currentCol_, currentRow_);
        if (!readOnly_ && IsCell(currentCol_, currentRow_) && !ColumnAt(currentCol_).ReadOnly()) {
          editorShown_ = true;
          editor_->ShowEditor(currentCol_, currentRow_);
        }
      } else if (IsCell(cell.x, cell.y)) {
        MakeCellVisible(cell.x, cell.y);
        currentCol_ = anchorCol_ = cell.x;
        currentRow_ = anchorRow_ = cell.y;
        SetSelectArea({cell.x, cell.y, cell.x, cell.y}, false);
      }
      NotifyColRowChanged();
      break;
    }
    case HitZone::FillHandle:
      HideEditing();
      fillArea_ = selectArea_;
      break;
    case HitZone::Header: {
      const std::int32_t col = ColFromX(x);
      currentCol_ = col;
      currentRow_ = 0;
      dragLineIndex_ = col;
      typedText_.clear();
      MakeCellVisible(col, 0);
      anchorCol_ = col;
      anchorRow_ = rowCount_ - 1;
      fillHandleCorner_ = 1;
      SetSelectArea({col, 0, col, rowCount_ - 1}, true);
      NotifyColRowChanged();
      OnHeaderClick(*this, col, button, shift);
      break;
    }
    case HitZone::Gutter: {
      const std::int32_t row = RowFromY(y);
      currentRow_ = row;
      currentCol_ = 0;
      dragLineIndex_ = row;
      typedText_.clear();
      MakeCellVisible(0, row);
      anchorCol_ = ColCount() - 1;
      anchorRow_ = row;
      fillHandleCorner_ = 2;
      SetSelectArea({0, row, ColCount() - 1, row}, true);
      NotifyColRowChanged();
      OnGutterClick(*this, row, button, shift);
      break;
    }
    case HitZone::Corner:
      currentRow_ = 0;
      currentCol_ = 0;
      typedText_.clear();
      MakeCellVisible(0, 0);
      anchorCol_ = ColCount() - 1;
      anchorRow_ = rowCount_ - 1;
      SetSelectArea({0, 0, ColCount() - 1, rowCount_ - 1}, false);
      NotifyColRowChanged();
      break;
    case HitZone::ColumnEdge:
      HideEditing();
      sizingColLeft_ = ColumnLeft(sizingCol_);
      break;
    case HitZone::None: break;
  }
}

// ---- Mouse move ----

void TTextGrid::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) {
  if (!enabled_) {
    SetZone(HitZone::None);
  } else if (shift & shift::ssLeft) {
    DragInZone(x, y);
  } else {
    SetZone(HitTest(x, y));
  }
  OnMouseMove(*this, shift, x, y);
}

Point TTextGrid::ClampedCellFromPoint(std::int32_t x, std::int32_t y) const {
  const Point cell = CellFromPoint(x, y);
  return {std::min(cell.x, ColCount() - 1), cell.y};
}

void TTextGrid::DragInZone(std::int32_t x, std::int32_t y) {
  switch (zone_) {
    case HitZone::Cell:
    case HitZone::FillHandle: {
      const Point cell = ClampedCellFromPoint(x, y);
      anchorCol_ = cell.x;
      anchorRow_ = cell.y;
      // A drag that began outside the grid finds the fill handle under the pointer with no
      // fill under way: it extends from the current cell, as over any other cell.
      const bool filling = zone_ == HitZone::FillHandle && fillArea_.left >= 0;
      const Rect& from = filling ? fillArea_ : Rect{currentCol_, currentRow_, currentCol_, currentRow_};
      SetSelectArea({std::min(cell.x, from.left), std::min(cell.y, from.top), std::max(cell.x, from.right),
                     std::max(cell.y, from.bottom)},
                    false);
      MakeCellVisible(cell.x, cell.y);
      break;
    }
    case HitZone::Header: {
      const std::int32_t col = ColFromX(x);
      if (col == -1 || col == dragLineIndex_) break;
      dragLineIndex_ = col;
      anchorCol_ = col;
      fillHandleCorner_ = 1;
      SetSelectArea({std::min(col, currentCol_), 0, std::max(col, currentCol_), rowCount_ - 1}, true);
      break;
    }
    case HitZone::Gutter: {
      const std::int32_t row = RowFromY(y);
      if (row == -1 || row == dragLineIndex_) break;
      dragLineIndex_ = row;
      anchorRow_ = row;
      fillHandleCorner_ = 2;
      SetSelectArea({0, std::min(row, currentRow_), ColCount() - 1, std::max(row, currentRow_)}, true);
      break;
    }
    case HitZone::ColumnEdge: ResizeColumn(x); break;
    case HitZone::Corner:
    case HitZone::None: break;
  }
}

// Widths are set directly, without the columns' change notification.
void TTextGrid::ResizeColumn(std::int32_t x) {
  if (sizingCol_ < 0 || sizingCol_ >= ColCount()) return;
  const std::int32_t contentX = Sub(Add(x, hScrollPos_), cellLeft_);
  const std::int32_t width = std::max(5, Sub(contentX, sizingColLeft_));
  TTextColumn& column = ColumnAt(sizingCol_);
  if (!fitToWidth_) {
    column.width_ = width;
  } else {
    if (sizingCol_ == ColCount() - 1) return;
    TTextColumn& neighbour = ColumnAt(sizingCol_ + 1);
    const std::int32_t others = Sub(columnsWidth_, Add(column.width_, neighbour.width_));
    const std::int32_t room = Sub(Sub(ClientSize().width, cellLeft_), others);
    if (room > 10) {
      column.width_ = width;
      neighbour.width_ = Sub(room, width);
    }
    if (neighbour.width_ < 5) {
      column.width_ = Sub(room, 5);
      neighbour.width_ = 5;
    }
  }
  Recalculate();
  RepaintRightOf(cellLeft_);
}

// ---- Mouse up ----

void TTextGrid::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
  try {
    if (zone_ == HitZone::FillHandle && !readOnly_) FillCopy();
  } catch (...) {
    FinishMouseUp(x, y);
    throw;
  }
  FinishMouseUp(x, y);
  OnMouseUp(*this, button, shift, x, y);
}

// Done however the drag ended: no fill outline, no captured mouse, no drag line left behind.
void TTextGrid::FinishMouseUp(std::int32_t x, std::int32_t y) {
  EndDrag();
  SetZone(HitTest(x, y));
  host_->ReleaseCapture();
}

void TTextGrid::MouseCaptureLost() {
  if (!dragging_) return;  // our own release at mouse-up
  EndDrag();
  SetZone(HitZone::None);  // a drag without the capture is over: nothing acts on it any more
}

void TTextGrid::EndDrag() {
  dragging_ = false;
  dragLineIndex_ = -1;
  if (fillArea_ == kNoArea) return;
  fillArea_ = kNoArea;
  RepaintCells();
}

// The block selected when the drag began, repeated over the whole new selection in both
// directions, aligned on the block's own position. Hidden columns neither give nor take text.
void TTextGrid::FillCopy() {
  const auto visibleColumns = [this](std::int32_t left, std::int32_t right) {
    std::vector<std::int32_t> columns;
    for (std::int32_t col = left; col <= right; ++col)
      if (ColumnAt(col).Visible()) columns.push_back(col);
    return columns;
  };
  const std::vector<std::int32_t> targets = visibleColumns(selectArea_.left, selectArea_.right);
  const std::vector<std::int32_t> sources = visibleColumns(fillArea_.left, fillArea_.right);
  typedText_.clear();
  if (sources.empty() || fillArea_.bottom < fillArea_.top) return;
  WhileUpdating([&] {
    const auto sourceAt = std::find(targets.begin(), targets.end(), sources.front());
    const std::int32_t s = sourceAt == targets.end() ? 0 : Narrow(sourceAt - targets.begin());
    const std::int32_t w = Narrow(sources.size());
    const std::int32_t h = Add(Sub(fillArea_.bottom, fillArea_.top), 1);
    const std::int32_t t = fillArea_.top;
    for (std::int32_t p = 0; p < Narrow(targets.size()); ++p) {
      std::int32_t shiftedP = p;
      while (shiftedP < s) shiftedP = Add(shiftedP, w);
      const std::int32_t sourceCol = sources[static_cast<std::size_t>((shiftedP - s) % w)];
      for (std::int32_t row = selectArea_.top; row <= selectArea_.bottom; ++row) {
        std::int32_t shiftedR = row;
        while (shiftedR < t) shiftedR = Add(shiftedR, h);
        const std::int32_t sourceRow = Add((shiftedR - t) % h, t);
        StoreCell(targets[static_cast<std::size_t>(p)], row, true, CellText(sourceCol, sourceRow));
      }
    }
  });
}

}  // namespace grid
