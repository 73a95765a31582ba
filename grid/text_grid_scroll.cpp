// TTextGrid scrolling: the scroll positions and bringing a cell into view.
#include "grid/text_grid.h"

#include <algorithm>

#include "common/checked_int.h"

namespace grid {

using namespace common::checked;

namespace {

std::int32_t Clamp(std::int32_t value, std::int32_t high) { return std::max(0, std::min(value, high)); }

}  // namespace

void TTextGrid::SetHScrollPos(std::int32_t x) {
  if (x == hScrollPos_) return;
  hScrollPos_ = Clamp(x, hScrollMax_);
  SetScrollBar(ScrollBarKind::Horizontal, hScrollMax_, scroll_mask::Position, hScrollPos_);
  RepaintRightOf(cellLeft_);
}

void TTextGrid::SetVScrollPos(std::int32_t y) {
  if (y == vScrollPos_) return;
  const std::int32_t clamped = Clamp(y, vScrollMax_);
  vScrollPos_ = Sub(clamped, clamped % defRowHeight_);
  SetScrollBar(ScrollBarKind::Vertical, vScrollMax_, scroll_mask::Position, vScrollPos_);
  RepaintBelow(headerHeight_);
}

void TTextGrid::MakeCellVisible(std::int32_t col, std::int32_t row) {
  if (col == -1 || row == -1) return;
  const Size client = ClientSize();
  if (client.width > usedWidth_ && client.height > usedHeight_) return;

  const std::int32_t top = Div(vScrollPos_, defRowHeight_);
  std::int32_t span = Sub(Div(Sub(client.height, headerHeight_), defRowHeight_), 1);
  if (showFooter_) span = Sub(span, 1);
  const bool needV = row < top || row > Add(top, span);
  std::int32_t newY = vScrollPos_;
  if (row < top) newY = Mul(row, defRowHeight_);
  if (row > Add(top, span)) newY = Mul(Sub(row, span), defRowHeight_);

  const std::int32_t left = Add(Sub(ColumnLeft(col), hScrollPos_), cellLeft_);
  const std::int32_t right = Add(left, ColumnAt(col).Width());
  const bool needH = left < cellLeft_ || right > client.width;
  std::int32_t newX = hScrollPos_;
  if (left < cellLeft_) newX = std::max(0, Sub(Add(newX, left), cellLeft_));
  if (right > client.width) newX = std::min(hScrollMax_, Add(Sub(Add(newX, right), client.width), 1));

  if (needV && needH) {
    hScrollPos_ = newX;
    vScrollPos_ = newY;
    SetScrollBar(ScrollBarKind::Horizontal, hScrollMax_, scroll_mask::Position, hScrollPos_);
    SetScrollBar(ScrollBarKind::Vertical, vScrollMax_, scroll_mask::Position, vScrollPos_);
    RepaintAll();
  } else if (needV) {
    SetVScrollPos(newY);
  } else if (needH) {
    SetHScrollPos(newX);
  }
}

}  // namespace grid

namespace grid {

namespace {

// The offset a scroll-bar action asks for; other actions leave it.
std::int32_t ScrolledTo(std::int32_t value, ScrollAction action, std::int32_t position, std::int32_t line,
                        std::int32_t page) {
  using namespace common::checked;
  switch (action) {
    case ScrollAction::LineUp: return Sub(value, line);
    case ScrollAction::LineDown: return Add(value, line);
    case ScrollAction::PageUp: return Sub(value, page);
    case ScrollAction::PageDown: return Add(value, page);
    case ScrollAction::ThumbPosition:
    case ScrollAction::ThumbTrack: return position;
    default: return value;
  }
}

}  // namespace

void TTextGrid::HScroll(ScrollAction action, std::int32_t position) {
  HideEditing();
  const std::int32_t value = Clamp(ScrolledTo(hScrollPos_, action, position, lineStep_, pageStep_), hScrollMax_);
  if (value == hScrollPos_) return;
  hScrollPos_ = value;
  SetScrollBar(ScrollBarKind::Horizontal, hScrollMax_, scroll_mask::Position, hScrollPos_);
  RepaintRightOf(cellLeft_);
}

void TTextGrid::VScroll(ScrollAction action, std::int32_t position) {
  HideEditing();
  std::int32_t value = Clamp(ScrolledTo(vScrollPos_, action, position, lineStep_, pageStep_), vScrollMax_);
  value = Sub(value, value % defRowHeight_);
  if (value == vScrollPos_) return;
  vScrollPos_ = value;
  SetScrollBar(ScrollBarKind::Vertical, vScrollMax_, scroll_mask::Position, vScrollPos_);
  RepaintBelow(headerHeight_);
}

// No row rounding and no HideEditing: an open editor stays where it is.
void TTextGrid::MouseWheel(std::int16_t delta) {
  const std::int32_t value = Clamp(Sub(vScrollPos_, delta), vScrollMax_);
  if (value == vScrollPos_) return;
  vScrollPos_ = value;
  SetScrollBar(ScrollBarKind::Vertical, vScrollMax_, scroll_mask::Position, vScrollPos_);
  RepaintAll();
}

}  // namespace grid
