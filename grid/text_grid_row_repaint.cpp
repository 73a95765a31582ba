// What a change of rows and an update repaint: the rows and cells they changed rather than
// the whole window. Rows taken out move the picture of the rows below them up instead of
// drawing those again. Whenever the picture may hold more than the grid's own data drawn by
// the grid (custom drawing, widths that follow the texts, a fill drag, a footer, a layout
// that moved, a paint missed while updating), the whole window is repainted.
#include "grid/text_grid.h"

#include <algorithm>

#include "common/checked_int.h"

namespace grid {

using namespace common::checked;

TTextGrid::Placement TTextGrid::CurrentPlacement() const {
  Placement placement{ClientSize(), cellLeft_, headerHeight_, columnsWidth_, hScrollPos_, vScrollPos_, footerTop_, {}};
  placement.columnWidths.reserve(static_cast<std::size_t>(ColCount()));
  for (std::int32_t col = 0; col < ColCount(); ++col)
    placement.columnWidths.push_back(ColumnAt(col).Visible() ? ColumnAt(col).width_ : 0);
  return placement;
}

bool TTextGrid::PictureFollowsData() const {
  return !autoColWidth_ && !showFooter_ && fillArea_ == kNoArea && !OnDrawCell.Assigned() &&
         !OnDrawHeader.Assigned() && !OnDrawGutter.Assigned() && !OnDrawFooter.Assigned();
}

// The selected block with its frame and fill handle.
Rect TTextGrid::SelectionBounds() const { return Inflate(ClientRectOfBlock(selectArea_), 3); }

void TTextGrid::ChangeRowCount(std::int32_t value, std::int32_t firstChanged, bool rowsBelowMoveUp) {
  const Placement before = CurrentPlacement();
  const Rect oldSelection = SelectionBounds();
  rowCount_ = value;
  ClampCurrentCell();
  SelectCurrentCellOnly();
  Recalculate();
  if (PictureFollowsData() && CurrentPlacement() == before)
    RepaintRowsFrom(firstChanged, oldSelection, rowsBelowMoveUp);
  else
    RepaintAll();
  NotifyColRowChanged();
}

// Rows above `row` keep their place and their picture. When the rows below moved up by one,
// their picture moves with them, unless stripes would then fall on the wrong rows or the
// window shows an unfinished update; the selection's frame moved with it is drawn again
// where it belongs. A selection that kept its cells above the change needs nothing.
void TTextGrid::RepaintRowsFrom(std::int32_t row, const Rect& oldSelection, bool rowsBelowMoveUp) {
  // The row's upper grid line is the lower one of the row above, which stays; without grid
  // lines that line is the row's own colour, which may have changed.
  const std::int32_t rowTop = Add(ContentToClient(CellRect(0, row)).top, showGrid_ ? 1 : 0);
  const Rect selection = SelectionBounds();
  const bool selectionMoved = oldSelection != selection;
  const bool striped = alternateColor_ != color_;
  if (rowsBelowMoveUp && !striped && !updating_) {
    const Rect band{cellLeft_, std::max(rowTop, cellArea_.top), ClientSize().width, cellArea_.bottom};
    if (!band.IsEmpty()) host_->ScrollUp(band, defRowHeight_);
    // The old frame went up with the band, or stayed where it was.
    if (selectionMoved || Intersects(oldSelection, band))
      host_->Invalidate(Union(Offset(oldSelection, 0, -defRowHeight_), oldSelection));
  } else {
    RepaintBelow(rowTop);
    if (selectionMoved) host_->Invalidate(oldSelection);
  }
  if (selectionMoved) host_->Invalidate(selection);
  if (gutterKind_ != TGutterKind::gkNone) RepaintGutter();
}

void TTextGrid::NoteUpdatedCell(std::int32_t col, std::int32_t row) {
  if (cellsUpdated_ == kNoArea) {
    cellsUpdated_ = {col, row, col, row};
    return;
  }
  cellsUpdated_ = {std::min(cellsUpdated_.left, col), std::min(cellsUpdated_.top, row),
                   std::max(cellsUpdated_.right, col), std::max(cellsUpdated_.bottom, row)};
}

// The end of an update: the layout pass, then the cells stored meanwhile, or everything.
void TTextGrid::RepaintUpdatedCells() {
  const Placement before = CurrentPlacement();
  const bool headerChanged = BuildHeaderSpans();
  if (paintMissedWhileUpdating_ || headerChanged || !PictureFollowsData() || CurrentPlacement() != before)
    RepaintAll();
  else if (cellsUpdated_ != kNoArea)
    host_->Invalidate(Inflate(ClientRectOfBlock(cellsUpdated_), -1));  // inside the grid lines
  paintMissedWhileUpdating_ = false;
  cellsUpdated_ = kNoArea;
}

TTextGrid::UpdateBookkeeping TTextGrid::TakeUpdateBookkeeping() {
  const UpdateBookkeeping taken{cellsUpdated_, paintMissedWhileUpdating_};
  cellsUpdated_ = kNoArea;
  paintMissedWhileUpdating_ = false;
  return taken;
}

// What an outer update had kept is its own again.
void TTextGrid::EndWorkWhileUpdating(const UpdateBookkeeping& outer) {
  if (paintMissedWhileUpdating_) RepaintAll();
  cellsUpdated_ = outer.cellsUpdated;
  paintMissedWhileUpdating_ = outer.paintMissed;
}

}  // namespace grid
