// TTextGrid keyboard: the key tables, Enter with assignment and auto-fill, typing into the
// current cell, the selection operations, focus and the typing caret.
#include "grid/text_grid.h"

#include <algorithm>

namespace grid {

// ---- Selection operations ----

void TTextGrid::SelectCurrentCell() {
  HideEditing();
  typedText_.clear();
  anchorCol_ = currentCol_;
  anchorRow_ = currentRow_;
  WhileUpdating([this] { MakeCellVisible(currentCol_, currentRow_); });
  SetSelectArea({currentCol_, currentRow_, currentCol_, currentRow_}, false);
  NotifyColRowChanged();
}

void TTextGrid::ExtendSelection() {
  SetSelectArea({std::min(anchorCol_, currentCol_), std::min(anchorRow_, currentRow_), std::max(anchorCol_, currentCol_),
                 std::max(anchorRow_, currentRow_)},
                false);
  MakeCellVisible(anchorCol_, anchorRow_);
}

void TTextGrid::MoveInSelection(bool forward) {
  const Rect& a = selectArea_;
  if (forward) {
    if (currentCol_ == a.right && currentRow_ == a.bottom) {
      currentCol_ = a.left;
      currentRow_ = a.top;
    } else if (currentRow_ == a.bottom) {
      currentCol_ += 1;
      currentRow_ = a.top;
    } else {
      currentRow_ += 1;
    }
  } else {
    if (currentCol_ == a.left && currentRow_ == a.top) {
      currentCol_ = a.right;
      currentRow_ = a.bottom;
    } else if (currentRow_ == a.top) {
      currentCol_ -= 1;
      currentRow_ = a.bottom;
    } else {
      currentRow_ -= 1;
    }
  }
  HideEditing();
  typedText_.clear();
  MakeCellVisible(currentCol_, currentRow_);
  RepaintCells();
  NotifyColRowChanged();
}

void TTextGrid::HideEditing() {
  HideCaret();
  editor_->HideEditor();
}

void TTextGrid::HideCaret() {
  if (caretShown_) host_->HideCaret();
  caretShown_ = false;
}

void TTextGrid::ShowEditCaret() {
  if (!caretShown_) host_->ShowCaret();
  caretShown_ = true;
}

// ---- Keys ----

bool TTextGrid::WantsKey(std::uint16_t key) {
  return key == key::Left || key == key::Right || key == key::Up || key == key::Down;
}

void TTextGrid::KeyDown(std::uint16_t key, TShiftState shift) {
  // With no visible column there is no cell for a key to reach.
  if (!enabled_ || FirstVisibleCol() < 0 || rowCount_ == 0) return;
  if (shift & shift::ssCtrl)
    CtrlKey(key);
  else if (shift & shift::ssShift)
    ShiftKey(key);
  else
    PlainKey(key);
  OnKeyDown(*this, key, shift);
}

bool TTextGrid::CtrlKey(std::uint16_t key) {
  switch (key) {
    case key::End:
      currentCol_ = LastVisibleCol();
      currentRow_ = rowCount_ - 1;
      SelectCurrentCell();
      return true;
    case key::Home:
      currentCol_ = FirstVisibleCol();
      currentRow_ = 0;
      SelectCurrentCell();
      return true;
    case key::Delete:
      if (!readOnly_ && rowCount_ > 1) {
        const std::int32_t row = currentRow_;
        DeleteRow(row);
        OnDeleteRow(*this, row);
        SelectCurrentCell();
      }
      return true;
    case key::C:
      CopyToClipboard();
      return true;
    case key::V:
      if (!readOnly_) PasteFromClipboard();
      return true;
    case key::X:
      if (!readOnly_) CutToClipboard();
      return true;
  }
  return false;
}

bool TTextGrid::ShiftKey(std::uint16_t key) {
  switch (key) {
    case key::Left: anchorCol_ = std::max(PrevVisibleCol(anchorCol_), FirstVisibleCol()); break;
    case key::Right: anchorCol_ = std::min(NextVisibleCol(anchorCol_), LastVisibleCol()); break;
    case key::Up: anchorRow_ = std::max(anchorRow_ - 1, 0); break;
    case key::Down: anchorRow_ = std::min(anchorRow_ + 1, rowCount_ - 1); break;
    case key::Enter:
      if (selectArea_.left == selectArea_.right && selectArea_.top == selectArea_.bottom) {
        currentRow_ = std::max(0, currentRow_ - 1);
        SelectCurrentCell();
      } else {
        MoveInSelection(false);
      }
      return true;
    default: return false;
  }
  ExtendSelection();
  return true;
}

bool TTextGrid::PlainKey(std::uint16_t key) {
  switch (key) {
    case key::Enter: Enter(); return true;
    case key::PageUp: currentRow_ = 0; break;
    case key::PageDown: currentRow_ = rowCount_ - 1; break;
    case key::End: currentCol_ = LastVisibleCol(); break;
    case key::Home: currentCol_ = FirstVisibleCol(); break;
    case key::Left: currentCol_ = std::max(PrevVisibleCol(currentCol_), FirstVisibleCol()); break;
    case key::Right: currentCol_ = std::min(NextVisibleCol(currentCol_), LastVisibleCol()); break;
    case key::Up: AutoRemoveOrUp(); break;
    case key::Down: AutoAppendOrDown(); break;
    case key::Insert:
      if (readOnly_) return true;
      InsertRow(std::max(0, currentRow_));
      OnInsertRow(*this, currentRow_);
      break;
    case key::Delete:
      if (typedText_.empty() && !readOnly_) DeleteBlockTexts();
      return true;
    default: return false;
  }
  SelectCurrentCell();
  return true;
}

void TTextGrid::AutoRemoveOrUp() {
  if (autoAddRow_ && currentRow_ == rowCount_ - 1 && currentRow_ >= 1 && !readOnly_) {
    bool empty = true;
    for (std::int32_t col = 0; col < ColCount() && empty; ++col) empty = CellText(col, currentRow_).empty();
    if (empty) {
      SetRowCount(rowCount_ - 1);
      currentRow_ = rowCount_ - 1;
      OnDeleteRow(*this, rowCount_);
      return;
    }
  }
  currentRow_ = std::max(0, currentRow_ - 1);
}

void TTextGrid::AutoAppendOrDown() {
  if (autoAddRow_ && currentRow_ == rowCount_ - 1 && !readOnly_) {
    currentRow_ += 1;
    SetRowCount(rowCount_ + 1);
    OnInsertRow(*this, currentRow_);
    return;
  }
  currentRow_ = std::min(currentRow_ + 1, rowCount_ - 1);
}

void TTextGrid::DeleteBlockTexts() {
  WhileUpdating([this] {
    for (std::int32_t col = selectArea_.left; col <= selectArea_.right; ++col)
      for (std::int32_t row = selectArea_.top; row <= selectArea_.bottom; ++row) StoreCell(col, row, true, L"");
  });
  RepaintCells();
}

void TTextGrid::Enter() {
  const std::wstring old = Cells(currentCol_, currentRow_);
  std::wstring text = old;
  OnCellAssignment(*this, currentCol_, currentRow_, text);
  if (text != old) StoreCell(currentCol_, currentRow_, true, text);
  const bool fillDown = autoFillDown_ && !text.empty() && text.back() == L'*';
  const bool fillRight = !fillDown && autoFillRight_ && !text.empty() && text.back() == L'>';
  const bool single = selectArea_.left == selectArea_.right && selectArea_.top == selectArea_.bottom;
  if (fillDown || fillRight) {
    text.pop_back();
    const std::int32_t lastCol = single ? ColCount() - 1 : selectArea_.right;
    const std::int32_t lastRow = single ? rowCount_ - 1 : selectArea_.bottom;
    FillCells(text, lastCol, lastRow, fillDown);
  } else if (single) {
    currentRow_ = std::min(rowCount_ - 1, currentRow_ + 1);
    SelectCurrentCell();
  } else {
    MoveInSelection(true);
  }
}

// Program writes from the current cell down to lastRow, or right to lastCol.
void TTextGrid::FillCells(const std::wstring& text, std::int32_t lastCol, std::int32_t lastRow, bool down) {
  typedText_.clear();
  HideEditing();
  if (down) {
    for (std::int32_t row = currentRow_; row <= lastRow; ++row) SetCells(currentCol_, row, text);
  } else {
    for (std::int32_t col = currentCol_; col <= lastCol; ++col) SetCells(col, currentRow_, text);
  }
}

// ---- Typing ----

void TTextGrid::KeyPress(wchar_t character) {
  OnKeyPress(*this, character);
  if (character == 0 || !enabled_ || ColCount() == 0 || rowCount_ == 0 || readOnly_) return;
  if (character == key::Back) {
    HideEditing();
    if (!typedText_.empty()) typedText_.pop_back();
  } else if (character >= 32) {
    bool allowed = true;
    OnFilterChar(*this, currentCol_, currentRow_, character, allowed);
    if (!allowed) return;
    HideEditing();
    typedText_ += character;
  } else {
    return;
  }
  StoreTyped();
}

void TTextGrid::StoreTyped() {
  StoreCell(currentCol_, currentRow_, true, typedText_);
  MakeCellVisible(currentCol_, currentRow_);
  host_->SetCaretPos(RedrawCellInside(currentCol_, currentRow_, true));
  ShowEditCaret();
}

// ---- Focus ----

void TTextGrid::FocusGained() {
  host_->CreateCaret(1, defRowHeight_ - 2);
  caretShown_ = false;
  RepaintCells();
}

void TTextGrid::FocusLost(bool toOwnEditor) {
  if (!toOwnEditor) HideEditing();
  host_->DestroyCaret();
  caretShown_ = false;
  if (!editorShown_) RepaintCells();
}

}  // namespace grid
