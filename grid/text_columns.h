// The grid's collection of columns. Adding or deleting a column, and the end of an update,
// relay out the whole grid; a column's own look change repaints only its strip.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "grid/text_column.h"

namespace grid {

class TTextGrid;

class TTextColumns {
 public:
  explicit TTextColumns(TTextGrid& grid);
  TTextColumns(const TTextColumns&) = delete;
  TTextColumns& operator=(const TTextColumns&) = delete;

  TTextGrid& Grid() const { return *grid_; }
  std::int32_t Count() const;
  // Raises "List index out of bounds (%d)" for an index outside 0..Count - 1.
  TTextColumn& operator[](std::int32_t index);
  const TTextColumn& operator[](std::int32_t index) const;

  // A new column with the grid's default width, colour and font.
  TTextColumn& Add();
  void Delete(std::int32_t index);
  void Clear();

  // Changes between the two are reported once, as one whole-grid change, at the end.
  void BeginUpdate();
  void EndUpdate();

  // Replaces the columns by copies of the source's.
  void Assign(const TTextColumns& source);

 private:
  friend class TTextColumn;

  // Null: the whole collection changed.
  void Changed(const TTextColumn* item);
  void CheckIndex(std::int32_t index) const;

  TTextGrid* grid_;
  std::vector<std::unique_ptr<TTextColumn>> items_;
  std::int32_t updateCount_ = 0;
};

}  // namespace grid
