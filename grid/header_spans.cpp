#include "grid/header_spans.h"

#include <algorithm>
#include <cstddef>

namespace grid {
namespace {

// Part i of the title for header line i; short titles repeat their last part.
std::vector<std::wstring> TitleParts(const std::wstring& title, std::int32_t headerLine) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t bar = title.find(L'|', start);
    parts.push_back(title.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
  while (static_cast<std::int32_t>(parts.size()) < headerLine) parts.push_back(parts.back());
  return parts;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

}  // namespace

std::vector<HeaderSpan> BuildHeaderSpans(const TTextColumns& columns, std::int32_t headerLine) {
  std::vector<HeaderSpan> spans;
  // Indices into spans: the open span of each line (kNone when closed).
  std::vector<std::size_t> open(static_cast<std::size_t>(std::max(headerLine, 0)), kNone);
  for (std::int32_t col = 0; col < columns.Count(); ++col) {
    const TTextColumn& column = columns[col];
    if (!column.Visible()) {
      std::fill(open.begin(), open.end(), kNone);
      continue;
    }
    std::vector<std::wstring> parts = TitleParts(column.Title(), headerLine);
    std::size_t above = kNone;
    for (std::int32_t line = 0; line < headerLine; ++line) {
      const std::wstring& part = parts[static_cast<std::size_t>(line)];
      std::size_t& lineOpen = open[static_cast<std::size_t>(line)];
      if (above != kNone && spans[above].Caption == part) {
        spans[above].Bottom = std::min(headerLine - 1, std::max(spans[above].Bottom, line));
      } else if (lineOpen != kNone && spans[lineOpen].Caption == part) {
        spans[lineOpen].Right += 1;
        above = lineOpen;
      } else {
        spans.push_back({part, col, line, col, line});
        lineOpen = spans.size() - 1;
        above = lineOpen;
      }
    }
  }
  return spans;
}

}  // namespace grid
