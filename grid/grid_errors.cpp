#include "grid/grid_errors.h"

#include <string>

namespace grid {

ListIndexError::ListIndexError(std::int32_t index)
    : common::Error(L"List index out of bounds (" + std::to_wstring(index) + L")") {}

}  // namespace grid
