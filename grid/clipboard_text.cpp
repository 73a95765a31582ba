#include "grid/clipboard_text.h"

namespace grid {

std::vector<std::wstring> SplitClipboardLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == L'\r' && start < text.size() && text[start] == L'\n') ++start;
  }
  return lines;
}

std::vector<std::wstring> SplitFields(std::wstring_view line) {
  std::vector<std::wstring> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t tab = line.find(L'\t', start);
    fields.emplace_back(line.substr(start, tab == std::wstring_view::npos ? std::wstring_view::npos : tab - start));
    if (tab == std::wstring_view::npos) return fields;
    start = tab + 1;
  }
}

}  // namespace grid
