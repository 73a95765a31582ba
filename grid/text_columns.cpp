#include "grid/text_columns.h"

#include "common/checked_int.h"
#include "grid/grid_errors.h"
#include "grid/text_grid.h"

namespace grid {

TTextColumns::TTextColumns(TTextGrid& grid) : grid_(&grid) {}

std::int32_t TTextColumns::Count() const { return common::checked::Narrow(items_.size()); }

void TTextColumns::CheckIndex(std::int32_t index) const {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
}

TTextColumn& TTextColumns::operator[](std::int32_t index) {
  CheckIndex(index);
  return *items_[static_cast<std::size_t>(index)];
}

const TTextColumn& TTextColumns::operator[](std::int32_t index) const {
  CheckIndex(index);
  return *items_[static_cast<std::size_t>(index)];
}

TTextColumn& TTextColumns::Add() {
  items_.push_back(std::unique_ptr<TTextColumn>(new TTextColumn(*this, Count())));
  Changed(nullptr);
  return *items_.back();
}

void TTextColumns::Delete(std::int32_t index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
  for (std::size_t i = static_cast<std::size_t>(index); i < items_.size(); ++i)
    items_[i]->index_ = static_cast<std::int32_t>(i);
  Changed(nullptr);
}

void TTextColumns::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  items_.clear();
  EndUpdate();
}

void TTextColumns::BeginUpdate() { ++updateCount_; }

void TTextColumns::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed(nullptr);
}

void TTextColumns::Assign(const TTextColumns& source) {
  if (&source == this) return;
  BeginUpdate();
  try {
    items_.clear();
    for (const auto& item : source.items_) Add().Assign(*item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TTextColumns::Changed(const TTextColumn* item) {
  if (updateCount_ > 0) return;
  if (item)
    grid_->ColumnChanged(*item);
  else
    grid_->ColumnsChanged();
}

}  // namespace grid
