// The grid's failures with their exact messages.
#pragma once

#include <cstdint>

#include "common/error.h"

namespace grid {

// A cell index above the last column or row of the grid.
class CellIndexError : public common::Error {
 public:
  CellIndexError() : common::Error(L"Cell Index out of bound.") {}
};

// An index outside a list: a negative cell index, or a column that does not exist.
class ListIndexError : public common::Error {
 public:
  explicit ListIndexError(std::int32_t index);
};

}  // namespace grid
