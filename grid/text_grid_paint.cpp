// TTextGrid painting: cells, fixed header, gutter and footer cells, the background and the
// selection frame with its fill handle. Only rows that can meet the cell area are visited.
#include "grid/text_grid.h"

#include <algorithm>

#include "common/checked_int.h"
#include "grid/aligned_text.h"

namespace grid {

using namespace common::checked;

namespace {

// The inside of a cell, where its text goes.
Rect TextRect(const Rect& cell) { return {Add(cell.left, 4), Add(cell.top, 2), Sub(cell.right, 4), Sub(cell.bottom, 2)}; }

}  // namespace

Rect TTextGrid::ClientRectOfBlock(const Rect& block) const {
  const Rect topLeft = CellRect(block.left, block.top);
  const Rect bottomRight = CellRect(block.right, block.bottom);
  return ContentToClient({topLeft.left, topLeft.top, bottomRight.right, bottomRight.bottom});
}

// The rows whose rectangles can meet the client band top..bottom: a row's rectangle reaches
// one pixel above its own slot, hence the widening by one row.
std::pair<std::int32_t, std::int32_t> TTextGrid::RowsMeeting(std::int32_t top, std::int32_t bottom) const {
  const std::int32_t offset = Sub(vScrollPos_, headerHeight_);
  const std::int32_t first = std::max(0, Sub(Div(Add(top, offset), defRowHeight_), 1));
  const std::int32_t last = std::min(Sub(rowCount_, 1), Add(Div(Add(bottom, offset), defRowHeight_), 1));
  return {first, last};
}

Colour TTextGrid::CellColor(std::int32_t col, std::int32_t row) const {
  Colour colour = ColumnAt(col).Color();
  if (row % 2 == 1 && colour == color_) colour = alternateColor_;
  const bool inBlock = col >= selectArea_.left && col <= selectArea_.right && row >= selectArea_.top &&
                       row <= selectArea_.bottom;
  if (enabled_ && inBlock && !(col == currentCol_ && row == currentRow_)) colour = selectionColor_;
  return colour;
}

Font TTextGrid::CellFont(std::int32_t col) const {
  grid::Font font = ColumnAt(col).Font();
  if (!enabled_) font.colour = gridColor_;
  return font;
}

namespace {

// Whether any of the rectangles to repaint meets rect.
bool Meets(std::span<const Rect> dirty, const Rect& rect) {
  return std::any_of(dirty.begin(), dirty.end(), [&rect](const Rect& area) { return Intersects(area, rect); });
}

}  // namespace

void TTextGrid::Paint(Canvas& canvas) {
  const Size client = ClientSize();
  const Rect clientRect{0, 0, client.width, client.height};
  Paint(canvas, {&clientRect, 1});
}

void TTextGrid::Paint(Canvas& canvas, std::span<const Rect> dirty) {
  if (updating_) {
    paintMissedWhileUpdating_ = true;
    return;
  }
  const Size client = ClientSize();
  const Rect clientRect{0, 0, client.width, client.height};
  if (ColCount() == 0) {
    canvas.SetBrush(color_);
    canvas.FillRect(clientRect);
    return;
  }
  if (rowCount_ > 0) {
    const Rect s = ClientRectOfBlock(selectArea_);
    std::optional<Ring> ring;
    if (enabled_)
      ring = Ring{{Sub(s.left, 1), Sub(s.top, 1), Add(s.right, 1), Add(s.bottom, 1)},
                  {Add(s.left, 2), Add(s.top, 2), Sub(s.right, 2), Sub(s.bottom, 2)}};
    canvas.ClipTo(cellArea_, ring);
    DrawCells(canvas, dirty);
    canvas.ClipTo(clientRect, ring);
    DrawBackground(canvas);
    canvas.ClipTo(cellArea_, std::nullopt);
    if (enabled_) DrawSelectionFrame(canvas);
    canvas.RemoveClip();
  } else {
    DrawBackground(canvas);
  }
  DrawGutter(canvas);
  // The header's cells reach one pixel into the first row.
  if (Meets(dirty, {0, 0, client.width, Add(headerHeight_, 1)})) DrawHeader(canvas);
  if (showFooter_) DrawFooter(canvas);
}

void TTextGrid::DrawCells(Canvas& canvas, std::span<const Rect> dirty) {
  const auto [first, last] = RowsMeeting(cellArea_.top, cellArea_.bottom);
  for (std::int32_t col = 0; col < ColCount(); ++col) {
    if (!ColumnAt(col).Visible()) continue;
    for (std::int32_t row = first; row <= last; ++row)
      if (Meets(dirty, ContentToClient(CellRect(col, row)))) DrawCell(canvas, col, row);
  }
}

void TTextGrid::DrawCell(Canvas& canvas, std::int32_t col, std::int32_t row) {
  const Rect rect = ContentToClient(CellRect(col, row));
  if (!Intersects(rect, cellArea_)) return;
  const TTextColumn& column = ColumnAt(col);
  canvas.SetFont(CellFont(col));
  canvas.SetPen(gridColor_);
  canvas.SetBrush(CellColor(col, row));
  bool handled = false;
  OnDrawCell(*this, canvas, col, row, rect, handled);
  if (handled) return;
  if (showGrid_)
    canvas.Rectangle(rect);
  else
    canvas.FillRect(rect);
  canvas.SetBrush(CellColor(col, row), BrushStyle::Clear);
  DrawAlignedText(canvas, CellText(col, row), TextRect(rect), false, column.VertAlign(), column.HorzAlign());
}

Point TTextGrid::RedrawCellInside(std::int32_t col, std::int32_t row, bool flushRightWhileTyping) {
  const Rect rect = ContentToClient(CellRect(col, row));
  if (!Intersects(rect, cellArea_)) return {-1, -1};
  Canvas& canvas = host_->DrawingCanvas();
  const TTextColumn& column = ColumnAt(col);
  canvas.SetBrush(CellColor(col, row));
  canvas.SetFont(CellFont(col));
  bool handled = false;
  OnDrawCell(*this, canvas, col, row, rect, handled);
  if (handled) return {-1, -1};
  const Rect inside = TextRect(rect);
  canvas.FillRect(inside);
  canvas.SetBrush(CellColor(col, row), BrushStyle::Clear);
  return DrawAlignedText(canvas, CellText(col, row), inside, flushRightWhileTyping, column.VertAlign(),
                         column.HorzAlign());
}

void TTextGrid::DrawFixedCell(Canvas& canvas, const Rect& rect, const std::wstring& text,
                              const TOnDrawHeaderEvent& event, const grid::Font& font) {
  canvas.SetPen(flat_ ? headerDarkColor_ : clBlack);
  canvas.SetBrush(headerColor_);
  grid::Font drawn = font;
  if (!enabled_) drawn.colour = headerDarkColor_;
  canvas.SetFont(drawn);
  bool handled = false;
  event(*this, canvas, rect, text, handled);
  if (handled) return;
  canvas.Rectangle(rect);
  canvas.SetBrush(headerColor_, BrushStyle::Clear);
  DrawMultilineText(canvas, text, {Add(rect.left, 2), Add(rect.top, 2), Sub(rect.right, 3), Sub(rect.bottom, 3)},
                    TVertAlign::vaCenter, THorzAlign::haCenter);
  canvas.SetPen(headerLightColor_);
  canvas.Polyline({{Add(rect.left, 1), Sub(rect.bottom, 2)},
                   {Add(rect.left, 1), Add(rect.top, 1)},
                   {Sub(rect.right, 1), Add(rect.top, 1)}});
  if (!flat_) {
    canvas.SetPen(headerDarkColor_);
    canvas.Polyline({{Sub(rect.right, 2), Add(rect.top, 1)},
                     {Sub(rect.right, 2), Sub(rect.bottom, 2)},
                     {rect.left, Sub(rect.bottom, 2)}});
  }
}

void TTextGrid::DrawGutter(Canvas& canvas) {
  if (gutterKind_ == TGutterKind::gkNone) return;
  const auto [first, last] = RowsMeeting(headerHeight_, cellArea_.bottom);
  const std::int32_t down = Sub(headerHeight_, vScrollPos_);
  for (std::int32_t row = first; row <= last; ++row) {
    const Rect rect{-1, Add(Sub(Mul(row, defRowHeight_), 1), down), gutterWidth_,
                    Add(Mul(Add(row, 1), defRowHeight_), down)};
    if (rect.bottom <= headerHeight_ || rect.top >= cellArea_.bottom) continue;
    std::wstring text;
    if (gutterKind_ == TGutterKind::gkNumber) text = std::to_wstring(Add(row, 1));
    if (gutterKind_ == TGutterKind::gkString && static_cast<std::size_t>(row) < gutterStrings_.size())
      text = gutterStrings_[static_cast<std::size_t>(row)];
    DrawFixedCell(canvas, rect, text, OnDrawGutter, gutterFont_);
    if (gutterKind_ == TGutterKind::gkPointer && row == currentRow_) DrawGutterPointer(canvas, rect);
  }
}

// A triangle pointing right: dark on its left and upper side, light on the lower one.
void TTextGrid::DrawGutterPointer(Canvas& canvas, const Rect& rect) {
  const std::int32_t px = Div(Sub(gutterWidth_, 8), 2);
  const std::int32_t py = Div(Sub(defRowHeight_, 8), 2);
  const std::int32_t my = Add(rect.top, Div(defRowHeight_, 2));
  const Point tip{Add(px, 8), my};
  canvas.SetPen(headerDarkColor_);
  canvas.Polyline({{px, Sub(rect.bottom, py)}, {px, Add(rect.top, py)}, tip});
  canvas.SetPen(headerLightColor_);
  canvas.Polyline({tip, {px, Sub(rect.bottom, py)}});
}

void TTextGrid::DrawHeader(Canvas& canvas) {
  const Size client = ClientSize();
  const Rect clientRect{0, 0, client.width, client.height};
  const std::int32_t right = Sub(cellLeft_, hScrollPos_);
  canvas.SetFont(headerFont_);
  for (const HeaderSpan& span : headerSpans_) {
    const Rect rect = Offset({Sub(ColumnLeft(span.Left), 1), Sub(Mul(span.Top, defRowHeight_), 1),
                              ColumnLeft(Add(span.Right, 1)), Mul(Add(span.Bottom, 1), defRowHeight_)},
                             right, 0);
    if (Intersects(rect, clientRect)) DrawFixedCell(canvas, rect, span.Caption, OnDrawHeader, headerFont_);
  }
  DrawFixedCell(canvas, {-1, -1, cellLeft_, headerHeight_}, std::wstring(), OnDrawHeader, headerFont_);
}

void TTextGrid::DrawFooter(Canvas& canvas) {
  const Size client = ClientSize();
  const Rect clientRect{0, 0, client.width, client.height};
  const std::int32_t right = Sub(cellLeft_, hScrollPos_);
  const std::int32_t bottom = Add(Add(footerTop_, defRowHeight_), 1);
  canvas.SetFont(footerFont_);
  for (std::int32_t col = 0; col < ColCount(); ++col) {
    const Rect rect = Offset({Sub(ColumnLeft(col), 1), footerTop_, ColumnLeft(Add(col, 1)), bottom}, right, 0);
    if (Intersects(rect, clientRect)) DrawFixedCell(canvas, rect, ColumnAt(col).Footer(), OnDrawFooter, footerFont_);
  }
  DrawFixedCell(canvas, {-1, footerTop_, cellLeft_, bottom}, std::wstring(), OnDrawFooter, footerFont_);
  DrawFixedCell(canvas, {-1, Add(footerTop_, defRowHeight_), std::min(usedWidth_, client.width), client.height},
                std::wstring(), OnDrawFooter, footerFont_);
}

void TTextGrid::DrawBackground(Canvas& canvas) {
  const Size client = ClientSize();
  canvas.SetBrush(color_);
  if (usedWidth_ < client.width) canvas.FillRect({usedWidth_, 0, client.width, client.height});
  if (showFooter_) return;
  if (usedHeight_ < client.height) canvas.FillRect({0, usedHeight_, client.width, client.height});
  if (Sub(vScrollMax_, vScrollPos_) < defRowHeight_) {
    // The slot below the last whole row, which no row fills when scrolled to the end.
    const std::int32_t slots = Div(Sub(client.height, headerHeight_), defRowHeight_);
    canvas.FillRect({0, Add(headerHeight_, Mul(slots, defRowHeight_)), client.width, client.height});
  }
}

void TTextGrid::DrawSelectionFrame(Canvas& canvas) {
  if (currentCol_ < 0 || currentRow_ < 0) {
    fillHandleRect_ = kNoArea;  // no frame, no handle to drag
    return;
  }
  const Rect s = ClientRectOfBlock(selectArea_);
  const Colour frame = host_->Focused() ? clBlack : gridColor_;
  canvas.SetPen(frame, 3);
  canvas.SetBrush(frame, BrushStyle::Clear);
  canvas.Rectangle(s);
  switch (fillHandleCorner_) {
    case 1: fillHandleRect_ = {Sub(s.right, 3), Add(s.top, 2), Add(s.right, 3), Add(s.top, 8)}; break;
    case 2: fillHandleRect_ = {Add(s.left, 2), Sub(s.bottom, 3), Add(s.left, 8), Add(s.bottom, 3)}; break;
    default: fillHandleRect_ = {Sub(s.right, 3), Sub(s.bottom, 3), Add(s.right, 3), Add(s.bottom, 3)}; break;
  }
  canvas.SetPen(clWhite);
  canvas.SetBrush(frame);
  canvas.Rectangle(fillHandleRect_);
  fillHandleCorner_ = 0;
  if (fillArea_.left != -1) {
    canvas.SetPen(clBlack, 1, PenStyle::Dot);
    canvas.SetBrush(clBlack, BrushStyle::Clear);
    canvas.Rectangle(ClientRectOfBlock(fillArea_));
  }
}

}  // namespace grid
