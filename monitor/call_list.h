// The call-list grid's operations that the call log and the status poll use.
#pragma once

#include <cstdint>
#include <string>

namespace monitor {

class ICallList {
 public:
  virtual ~ICallList() = default;
  virtual std::int32_t RowCount() const = 0;
  // Appends an empty row and answers its index.
  virtual std::int32_t AddRow() = 0;
  virtual void DeleteRow(std::int32_t row) = 0;
  virtual void SetCell(std::int32_t col, std::int32_t row, const std::wstring& text) = 0;
  virtual void BeginUpdate() = 0;
  // Lays the grid out and repaints it once.
  virtual void EndUpdate() = 0;
  // Every cell blank, the rows kept.
  virtual void ClearCells() = 0;
};

}  // namespace monitor
