// TTextInplace: the borderless edit box the grid lays over a cell that is clicked while
// current. Every change of its text is stored into the cell at once, as a user edit; Enter,
// Escape, Up and Down close it and give the focus back to the grid.
#pragma once

#include <cstdint>

#include "common/event.h"
#include "grid/component.h"
#include "grid/grid_types.h"
#include "grid/inplace_edit_box.h"

namespace grid {

class TTextGrid;

class TTextInplace : public Component {
 public:
  explicit TTextInplace(TTextGrid& grid);

  THorzAlign Alignment() const { return alignment_; }
  void SetAlignment(THorzAlign alignment);
  std::int32_t EditCol() const { return editCol_; }
  std::int32_t EditRow() const { return editRow_; }

  // Places the box over the cell with its colour, alignment, text and font, and shows it.
  void ShowEditor(std::int32_t col, std::int32_t row);
  void HideEditor();

  // The box's own events; OnChange runs before the text is stored.
  common::Event<Component&> OnChange;
  common::Event<Component&, std::uint16_t&, TShiftState> OnKeyDown;
  common::Event<Component&, wchar_t&> OnKeyPress;

  // Notifications from the edit box.
  void Changed();
  // True when the key closed the editor or a handler cleared it: the box must not handle it.
  bool KeyDown(std::uint16_t key, TShiftState shift);
  // The character after the grid's filter; 0 when it is dropped.
  wchar_t KeyPress(wchar_t character);

 private:
  InplaceEditBox& Box() const;

  TTextGrid* grid_;
  THorzAlign alignment_ = THorzAlign::haLeft;
  std::int32_t editCol_ = 0;
  std::int32_t editRow_ = 0;
};

}  // namespace grid
