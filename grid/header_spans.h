// Merging of column titles into header cells: equal parts of adjacent titles share one cell
// across columns, equal parts of one title share one cell across header lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "grid/text_columns.h"

namespace grid {

// One drawn header cell: columns Left..Right over header lines Top..Bottom (inclusive).
struct HeaderSpan {
  std::wstring Caption;
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  bool operator==(const HeaderSpan&) const = default;
};

std::vector<HeaderSpan> BuildHeaderSpans(const TTextColumns& columns, std::int32_t headerLine);

}  // namespace grid
