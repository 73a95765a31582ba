// One column of a TTextGrid: its header and footer texts, width, look, flags and cell texts.
// Every change reports itself to the grid: a look change repaints the column's strip, a
// title, width or visibility change relays out the whole grid.
#pragma once

#include <cstdint>
#include <string>

#include "grid/colour.h"
#include "grid/font.h"
#include "grid/grid_types.h"

namespace grid {

class TTextGrid;
class TTextColumns;

class TTextColumn {
 public:
  TTextColumn(const TTextColumn&) = delete;
  TTextColumn& operator=(const TTextColumn&) = delete;

  TTextGrid* Grid() const;
  std::int32_t Index() const { return index_; }
  // The title, or "Column " and the index when the title is empty.
  std::wstring DisplayName() const;

  // Header caption; "|" separates the parts of a caption over several header lines.
  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& value);
  const std::wstring& Footer() const { return footer_; }
  void SetFooter(const std::wstring& value);
  std::int32_t Width() const { return width_; }
  void SetWidth(std::int32_t value);
  const grid::Font& Font() const { return font_; }
  void SetFont(const grid::Font& value);
  grid::Colour Color() const { return color_; }
  void SetColor(grid::Colour value);
  THorzAlign HorzAlign() const { return horzAlign_; }
  void SetHorzAlign(THorzAlign value);
  TVertAlign VertAlign() const { return vertAlign_; }
  void SetVertAlign(TVertAlign value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // The column's cell texts: entry i is row i; may be shorter or longer than the row count.
  const StringList& Strings() const { return strings_; }
  void SetStrings(const StringList& value);
  // May the user drag the width, and may fit-to-width change it.
  bool CanResize() const { return canResize_; }
  void SetCanResize(bool value) { canResize_ = value; }
  // User edits of this column's cells are refused; program writes are not.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }

  // User data, not interpreted.
  std::int32_t Tag = 0;
  std::int32_t Tag2 = 0;
  std::wstring Hint;

  // Copies every property and the texts through the setters, then reports one column change.
  void Assign(const TTextColumn& source);

 private:
  friend class TTextColumns;
  friend class TTextGrid;

  TTextColumn(TTextColumns& owner, std::int32_t index);
  void Changed(bool wholeGrid);

  TTextColumns* owner_;
  std::int32_t index_;
  std::wstring title_;
  std::wstring footer_;
  std::int32_t width_;
  grid::Font font_;
  grid::Colour color_;
  THorzAlign horzAlign_ = THorzAlign::haLeft;
  TVertAlign vertAlign_ = TVertAlign::vaCenter;
  bool visible_ = true;
  bool canResize_ = true;
  bool readOnly_ = false;
  StringList strings_;
};

}  // namespace grid
