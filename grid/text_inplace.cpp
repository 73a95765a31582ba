#include "grid/text_inplace.h"

#include "common/checked_int.h"
#include "grid/text_grid.h"

namespace grid {

using namespace common::checked;

TTextInplace::TTextInplace(TTextGrid& grid) : grid_(&grid) {}

InplaceEditBox& TTextInplace::Box() const { return grid_->Host().EditBox(); }

void TTextInplace::SetAlignment(THorzAlign alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Box().RecreateWithAlignment(alignment);
}

void TTextInplace::ShowEditor(std::int32_t col, std::int32_t row) {
  grid_->HideCaret();
  editCol_ = col;
  editRow_ = row;
  const TTextColumn& column = grid_->Columns()[col];
  Box().SetColour(grid_->CellColor(col, row));
  SetAlignment(column.HorzAlign());
  // Stores the same text again, which changes nothing.
  Box().SetText(grid_->CellText(col, row));
  Box().SetFont(column.Font());

  Rect r = grid_->ContentToClient(grid_->CellRect(col, row));
  if (alignment_ == THorzAlign::haRight) r.right = Add(r.right, 1);
  r = {Add(r.left, 4), Add(r.top, 3), Sub(r.right, 4), Sub(r.bottom, 3)};
  const std::int32_t width = Sub(r.right, r.left);
  // The canvas still holds the font of the last drawing.
  const std::int32_t height = grid_->Host().DrawingCanvas().TextExtent(L"gM").height;
  std::int32_t top = Add(r.top, Div(Sub(Sub(r.bottom, r.top), height), 2));
  if (column.VertAlign() == TVertAlign::vaTop) top = Sub(r.top, 1);
  if (column.VertAlign() == TVertAlign::vaBottom) top = Add(Sub(r.bottom, height), 1);
  Box().SetBounds({r.left, top}, {width, height});
  Box().Show();
}

void TTextInplace::HideEditor() {
  if (Box().Visible()) Box().Hide();
  grid_->editorShown_ = false;
}

void TTextInplace::Changed() {
  OnChange(*this);
  grid_->StoreCell(editCol_, editRow_, true, Box().Text());
}

bool TTextInplace::KeyDown(std::uint16_t key, TShiftState shift) {
  if (key == key::Enter || key == key::Escape || key == key::Up || key == key::Down) {
    HideEditor();
    grid_->Host().SetFocus();
    return true;
  }
  OnKeyDown(*this, key, shift);
  return key == 0;
}

wchar_t TTextInplace::KeyPress(wchar_t character) {
  bool allowed = true;
  if (grid_->OnFilterChar.Assigned()) grid_->OnFilterChar(*this, editCol_, editRow_, character, allowed);
  if (!allowed && character != key::Back) character = 0;
  OnKeyPress(*this, character);
  return character;
}

}  // namespace grid
