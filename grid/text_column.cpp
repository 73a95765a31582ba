#include "grid/text_column.h"

#include "grid/text_columns.h"
#include "grid/text_grid.h"

namespace grid {

TTextColumn::TTextColumn(TTextColumns& owner, std::int32_t index)
    : owner_(&owner),
      index_(index),
      width_(owner.Grid().DefColWidth()),
      font_(owner.Grid().Font()),
      color_(owner.Grid().Color()) {}

TTextGrid* TTextColumn::Grid() const { return &owner_->Grid(); }

std::wstring TTextColumn::DisplayName() const {
  return title_.empty() ? L"Column " + std::to_wstring(index_) : title_;
}

void TTextColumn::Changed(bool wholeGrid) { owner_->Changed(wholeGrid ? nullptr : this); }

void TTextColumn::SetTitle(const std::wstring& value) {
  if (value == title_) return;
  title_ = value;
  Changed(true);
}

void TTextColumn::SetFooter(const std::wstring& value) {
  if (value == footer_) return;
  footer_ = value;
  Changed(false);
}

void TTextColumn::SetWidth(std::int32_t value) {
  if (value == width_) return;
  width_ = value;
  Changed(true);
}

void TTextColumn::SetFont(const grid::Font& value) {
  font_ = value;
  Changed(false);
}

void TTextColumn::SetColor(grid::Colour value) {
  if (value == color_) return;
  color_ = value;
  Changed(false);
}

void TTextColumn::SetHorzAlign(THorzAlign value) {
  if (value == horzAlign_) return;
  horzAlign_ = value;
  Changed(false);
}

void TTextColumn::SetVertAlign(TVertAlign value) {
  if (value == vertAlign_) return;
  vertAlign_ = value;
  Changed(false);
}

void TTextColumn::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  // The fit that follows must not take back the room this column just gave or took.
  owner_->Grid().ColumnVisibilityChanging(index_);
  Changed(true);
}

void TTextColumn::SetStrings(const StringList& value) {
  strings_ = value;
  Changed(false);
}

void TTextColumn::Assign(const TTextColumn& source) {
  if (&source == this) return;
  SetTitle(source.title_);
  SetFooter(source.footer_);
  SetWidth(source.width_);
  SetFont(source.font_);
  SetColor(source.color_);
  SetHorzAlign(source.horzAlign_);
  SetVertAlign(source.vertAlign_);
  SetVisible(source.visible_);
  Tag = source.Tag;
  Tag2 = source.Tag2;
  Hint = source.Hint;
  canResize_ = source.canResize_;
  readOnly_ = source.readOnly_;
  strings_ = source.strings_;
  Changed(false);
}

}  // namespace grid
