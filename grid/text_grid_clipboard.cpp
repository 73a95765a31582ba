// TTextGrid clipboard: copy, cut and paste of cell blocks as TAB- and CR LF-separated text.
#include "grid/text_grid.h"

#include <algorithm>

#include "grid/clipboard_text.h"

namespace grid {
namespace {

// Fields of a line, padded with '' to the block's width.
std::vector<std::wstring> PaddedFields(const std::wstring& line, std::size_t width) {
  std::vector<std::wstring> fields = SplitFields(line);
  fields.resize(std::max(fields.size(), width));
  return fields;
}

}  // namespace

std::wstring TTextGrid::SelectionText(bool cut) {
  std::wstring text;
  if (selectArea_.left < 0 || selectArea_.top < 0) return text;  // a grid without cells
  for (std::int32_t row = selectArea_.top; row <= selectArea_.bottom; ++row) {
    bool firstField = true;  // the first visible column, which need not be the block's first
    for (std::int32_t col = selectArea_.left; col <= selectArea_.right; ++col) {
      if (!ColumnAt(col).Visible()) continue;
      if (!firstField) text += L'\t';
      firstField = false;
      text += CellText(col, row);
      if (cut) StoreCell(col, row, true, std::wstring());
    }
    text += L"\r\n";
  }
  return text;
}

void TTextGrid::CopyToClipboard() { host_->SetClipboardText(SelectionText(false)); }

void TTextGrid::CutToClipboard() {
  WhileUpdating([this] { host_->SetClipboardText(SelectionText(true)); });
  RepaintCells();
}

void TTextGrid::PasteFromClipboard() {
  const std::optional<std::wstring> clipboard = host_->ClipboardText();
  if (!clipboard) return;
  HideEditing();
  WhileUpdating([&] {
    const std::vector<std::wstring> lines = SplitClipboardLines(*clipboard);
    std::size_t width = 1;
    for (const std::wstring& line : lines) width = std::max(width, SplitFields(line).size());

    const bool singleCell = selectArea_.left == selectArea_.right && selectArea_.top == selectArea_.bottom;
    if (singleCell) {
      for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::int32_t row = currentRow_ + static_cast<std::int32_t>(k);
        if (row > rowCount_ - 1) break;
        const std::vector<std::wstring> fields = PaddedFields(lines[k], width);
        std::size_t field = 0;
        for (std::int32_t col = currentCol_; col < ColCount() && field < fields.size(); ++col) {
          if (!ColumnAt(col).Visible()) continue;
          StoreCell(col, row, true, fields[field++]);
        }
      }
    } else if (!lines.empty()) {
      for (std::int32_t row = selectArea_.top; row <= selectArea_.bottom; ++row) {
        const auto lineIndex = static_cast<std::size_t>(row - selectArea_.top) % lines.size();
        const std::vector<std::wstring> fields = PaddedFields(lines[lineIndex], width);
        std::size_t field = 0;
        for (std::int32_t col = selectArea_.left; col <= selectArea_.right; ++col) {
          if (!ColumnAt(col).Visible()) continue;
          StoreCell(col, row, true, fields[field]);
          field = (field + 1) % fields.size();
        }
      }
    }
  });
  RepaintCells();
}

}  // namespace grid
