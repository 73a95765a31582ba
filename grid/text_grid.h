// TTextGrid: a custom-drawn grid of text cells with a header, an optional gutter and footer,
// block selection and light editing. This is the portable core; it reaches the window only
// through GridHost and draws only through Canvas.
//
// Typical use (the call log):
//   grid.SetColCount(6);                  // then configure grid.Columns()[i]
//   while (grid.RowCount() > 10) grid.DeleteRow(0);
//   std::int32_t row = grid.AddRow();
//   grid.BeginUpdate();                   // no redraw per cell ...
//   grid.SetCells(0, row, L"1"); ...
//   grid.EndUpdate();                     // ... one layout pass and one repaint
//   grid.ClearCells();                    // blank every row, keep the rows
//
// Failures: "Cell Index out of bound." (CellIndexError) for a column or row above the last;
// "List index out of bounds (n)" (ListIndexError) for a negative index. Every other
// out-of-range request is ignored.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "common/event.h"
#include "grid/canvas.h"
#include "grid/colour.h"
#include "grid/component.h"
#include "grid/font.h"
#include "grid/geometry.h"
#include "grid/grid_host.h"
#include "grid/grid_types.h"
#include "grid/header_spans.h"
#include "grid/text_columns.h"
#include "grid/text_inplace.h"

namespace grid {

// Event types; the sender comes first, answers go back through the references.
using TOnDrawCellEvent = common::Event<Component&, Canvas&, std::int32_t, std::int32_t, const Rect&, bool&>;
using TOnDrawHeaderEvent = common::Event<Component&, Canvas&, const Rect&, const std::wstring&, bool&>;
using TOnFilterChar = common::Event<Component&, std::int32_t, std::int32_t, wchar_t, bool&>;
using TOnHeaderClick = common::Event<Component&, std::int32_t, TMouseButton, TShiftState>;
using TOnGutterClick = common::Event<Component&, std::int32_t, TMouseButton, TShiftState>;
using TOnCellChange = common::Event<Component&, std::int32_t, std::int32_t, std::wstring&>;
using TOnCellChanging = common::Event<Component&, std::int32_t, std::int32_t, bool&>;
using TOnColRowChanged = common::Event<Component&, std::int32_t, std::int32_t>;
using TOnRowEvent = common::Event<Component&, std::int32_t>;
using TOnCellAssignment = common::Event<Component&, std::int32_t, std::int32_t, std::wstring&>;
using TKeyEvent = common::Event<Component&, std::uint16_t&, TShiftState>;
using TKeyPressEvent = common::Event<Component&, wchar_t&>;
using TMouseEvent = common::Event<Component&, TMouseButton, TShiftState, std::int32_t, std::int32_t>;
using TMouseMoveEvent = common::Event<Component&, TShiftState, std::int32_t, std::int32_t>;

class TTextGrid : public Component {
 public:
  // The host must outlive the grid.
  explicit TTextGrid(GridHost& host);
  ~TTextGrid() override;
  TTextGrid(const TTextGrid&) = delete;
  TTextGrid& operator=(const TTextGrid&) = delete;

  // ---- Published properties. A setter given the current value does nothing. ----

  std::int32_t ColCount() const;
  // Deletes columns from the end or adds default ones; resets scrolling; clamps the
  // current cell and selects it; fires OnColRowChanged.
  void SetColCount(std::int32_t value);
  std::int32_t RowCount() const { return rowCount_; }
  // Never touches the cell texts: rows hidden by a smaller count show again when it grows.
  // Clamps the current cell and selects it, relays out, repaints, fires OnColRowChanged.
  void SetRowCount(std::int32_t value);

  bool AutoAddRow() const { return autoAddRow_; }
  void SetAutoAddRow(bool value) { autoAddRow_ = value; }
  bool AutoFillDown() const { return autoFillDown_; }
  void SetAutoFillDown(bool value) { autoFillDown_ = value; }
  bool AutoFillRight() const { return autoFillRight_; }
  void SetAutoFillRight(bool value) { autoFillRight_ = value; }
  std::int32_t DefRowHeight() const { return defRowHeight_; }
  void SetDefRowHeight(std::int32_t value);
  // The width of columns added later.
  std::int32_t DefColWidth() const { return defColWidth_; }
  void SetDefColWidth(std::int32_t value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  // Columns keep the colour they have; new columns take this one.
  Colour Color() const { return color_; }
  void SetColor(Colour value);
  Colour AlternateColor() const { return alternateColor_; }
  void SetAlternateColor(Colour value);
  Colour GridColor() const { return gridColor_; }
  void SetGridColor(Colour value);
  bool ShowGrid() const { return showGrid_; }
  void SetShowGrid(bool value);
  std::int32_t HeaderLine() const { return headerLine_; }
  void SetHeaderLine(std::int32_t value);
  Colour HeaderColor() const { return headerColor_; }
  void SetHeaderColor(Colour value);
  Colour HeaderLightColor() const { return headerLightColor_; }
  void SetHeaderLightColor(Colour value);
  Colour HeaderDarkColor() const { return headerDarkColor_; }
  void SetHeaderDarkColor(Colour value);
  Colour SelectionColor() const { return selectionColor_; }
  void SetSelectionColor(Colour value);
  // Fonts are copied; setting one always repaints what it is drawn in.
  const grid::Font& HeaderFont() const { return headerFont_; }
  void SetHeaderFont(const grid::Font& value);
  const grid::Font& FooterFont() const { return footerFont_; }
  void SetFooterFont(const grid::Font& value);
  const grid::Font& GutterFont() const { return gutterFont_; }
  void SetGutterFont(const grid::Font& value);
  // The grid's font; setting it replaces every column's font.
  const grid::Font& Font() const { return font_; }
  void SetFont(const grid::Font& value);
  // Stretches or narrows the resizable columns to the client width.
  bool FitToWidth() const { return fitToWidth_; }
  void SetFitToWidth(bool value);
  // Sizes every column to its widest text.
  bool AutoColWidth() const { return autoColWidth_; }
  void SetAutoColWidth(bool value);
  // Stops the user's edits; program writes still work.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  TTextColumns& Columns() { return *columns_; }
  const TTextColumns& Columns() const { return *columns_; }
  // Replaces the columns by copies of the given ones.
  void SetColumns(const TTextColumns& value);
  TGutterKind GutterKind() const { return gutterKind_; }
  void SetGutterKind(TGutterKind value);
  std::int32_t GutterWidth() const { return gutterWidth_; }
  void SetGutterWidth(std::int32_t value);
  const std::vector<std::wstring>& GutterStrings() const { return gutterStrings_; }
  void SetGutterStrings(const std::vector<std::wstring>& value);
  bool ShowFooter() const { return showFooter_; }
  void SetShowFooter(bool value);
  // The grid's own flag: the window stays enabled, the grid ignores input and draws greyed.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // Cursor number shown over the cells (registered cursor resources).
  std::int32_t Cursor() const { return cursor_; }
  void SetCursor(std::int32_t value) { cursor_ = value; }

  // ---- Events; fired only when assigned. ----
  TOnDrawCellEvent OnDrawCell;
  TOnDrawHeaderEvent OnDrawHeader;
  TOnDrawHeaderEvent OnDrawGutter;
  TOnDrawHeaderEvent OnDrawFooter;
  TOnFilterChar OnFilterChar;
  TOnHeaderClick OnHeaderClick;
  TOnGutterClick OnGutterClick;
  TOnCellChange OnCellChange;
  TOnCellChanging OnCellChanging;
  TOnColRowChanged OnColRowChanged;
  TOnRowEvent OnInsertRow;
  TOnRowEvent OnDeleteRow;
  TOnCellAssignment OnCellAssignment;
  // After the grid's own key handling; not at all while the grid ignores keys.
  TKeyEvent OnKeyDown;
  // Before the grid's own character handling; clearing the character stops it.
  TKeyPressEvent OnKeyPress;
  // After the grid's own mouse handling.
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

  // ---- Cells ----

  // Bounds-tested read; '' for a row the column's list does not reach.
  std::wstring Cells(std::int32_t col, std::int32_t row) const;
  // A program write: no events, no read-only test.
  void SetCells(std::int32_t col, std::int32_t row, const std::wstring& text);
  // Lenient read: '' at or beyond the end of the column's list, no test against RowCount.
  std::wstring CellText(std::int32_t col, std::int32_t row) const;
  // Stores a text. A user edit honours the column's ReadOnly and OnCellChanging, and
  // goes through OnCellChange. Nothing happens on a grid without rows or columns.
  void StoreCell(std::int32_t col, std::int32_t row, bool byUser, const std::wstring& text);

  // No painting and no per-cell redraw until EndUpdate, which relays out and repaints once.
  // Not nested: EndUpdate always unlocks.
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updating_; }

  // Appends a blank row and returns its index.
  std::int32_t AddRow();
  // Inserts a blank row before row; ignored outside 0..RowCount - 1.
  void InsertRow(std::int32_t row);
  // Removes a row, moving later texts up; ignored outside 0..RowCount - 1.
  void DeleteRow(std::int32_t row);
  // Blanks every cell; rows, current cell and selection stay.
  void ClearCells();

  // ---- Clipboard (text with TAB between cells and CR LF after each row) ----
  void CopyToClipboard();
  // Copies, then empties the copied cells as user edits.
  void CutToClipboard();
  // Pastes at the current cell, or repeats the clipboard block over a selected block.
  void PasteFromClipboard();

  // ---- Current cell and selection ----
  std::int32_t CurrentCol() const { return currentCol_; }
  std::int32_t CurrentRow() const { return currentRow_; }
  std::int32_t AnchorCol() const { return anchorCol_; }
  std::int32_t AnchorRow() const { return anchorRow_; }
  // Inclusive cell indices.
  const Rect& SelectArea() const { return selectArea_; }
  // Selects a block and repaints the union of the old and new blocks; nothing when the
  // block is unchanged unless forced.
  void SetSelectArea(const Rect& area, bool force);
  void NotifyColRowChanged();

  // Visible-column helpers; -1 when no column is visible.
  std::int32_t FirstVisibleCol() const;
  std::int32_t LastVisibleCol() const;
  // The nearest visible column after (before) col, or col itself when there is none.
  std::int32_t NextVisibleCol(std::int32_t col) const;
  std::int32_t PrevVisibleCol(std::int32_t col) const;

  // ---- Layout ----

  // The layout pass: widths, scroll ranges and bars, footer and cell area.
  virtual void Recalculate();
  // Rebuilds the merged header captions from the titles, then relays out.
  // Whether the spans came out different.
  bool BuildHeaderSpans();
  const std::vector<HeaderSpan>& HeaderSpans() const { return headerSpans_; }
  virtual void SetScrollBar(ScrollBarKind bar, std::int32_t maximum, unsigned mask, std::int32_t position);
  virtual void ShowScrollBars(bool horizontal, bool vertical);

  // Content coordinates: cell (0, 0) at (0, 0), ignoring gutter, header and scrolling.
  std::int32_t ColumnLeft(std::int32_t col) const;
  Rect CellRect(std::int32_t col, std::int32_t row) const;
  // A content rectangle moved to client coordinates.
  Rect ContentToClient(const Rect& rect) const;
  // Client point to cell; -1 outside.
  std::int32_t ColFromX(std::int32_t x) const;
  std::int32_t RowFromY(std::int32_t y) const;
  // Client point to the nearest cell, never -1 (unless the grid is empty).
  Point CellFromPoint(std::int32_t x, std::int32_t y) const;

  std::int32_t CellLeft() const { return cellLeft_; }
  std::int32_t HeaderHeight() const { return headerHeight_; }
  std::int32_t ColumnsWidth() const { return columnsWidth_; }
  std::int32_t RowsHeight() const { return rowsHeight_; }
  std::int32_t UsedWidth() const { return usedWidth_; }
  std::int32_t UsedHeight() const { return usedHeight_; }
  std::int32_t FooterTop() const { return footerTop_; }
  const Rect& CellArea() const { return cellArea_; }
  std::int32_t HScrollPos() const { return hScrollPos_; }
  std::int32_t VScrollPos() const { return vScrollPos_; }
  std::int32_t HScrollMax() const { return hScrollMax_; }
  std::int32_t VScrollMax() const { return vScrollMax_; }
  std::int32_t LineStep() const { return lineStep_; }
  std::int32_t PageStep() const { return pageStep_; }
  std::int32_t FitSkipCol() const { return fitSkipCol_; }

  // ---- Scrolling ----
  void SetHScrollPos(std::int32_t x);
  // Rounded down to a whole row.
  void SetVScrollPos(std::int32_t y);
  // Scrolls so that the cell is wholly inside the client area.
  void MakeCellVisible(std::int32_t col, std::int32_t row);

  // ---- Window events (called by the window that shows the grid) ----
  void WindowCreated();
  void Resized();

  // ---- Input (called by the window, already translated) ----
  void KeyDown(std::uint16_t key, TShiftState shift);
  void KeyPress(wchar_t character);
  // The keys the grid keeps from the form's dialog navigation: the arrows.
  static bool WantsKey(std::uint16_t key);
  void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
  void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y);
  void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
  // The mouse was taken from the grid during a drag (another window captured it): the drag
  // ends without its mouse-up's effect.
  void MouseCaptureLost();
  // delta: 120 per notch away from the user; scrolls that many pixels up.
  void MouseWheel(std::int16_t delta);
  // position: where the thumb actions put the bar, the whole 32-bit value.
  void HScroll(ScrollAction action, std::int32_t position);
  void VScroll(ScrollAction action, std::int32_t position);
  void FocusGained();
  void FocusLost(bool toOwnEditor);
  // The zone under a client point; finds the column edge under it as a side effect.
  HitZone HitTest(std::int32_t x, std::int32_t y);

  // ---- Selection and editing operations ----
  // Collapses the selection to the current cell, scrolls it into view and notifies.
  void SelectCurrentCell();
  // Selects the block between the current cell and the anchor.
  void ExtendSelection();
  // Moves the current cell down the columns of the selected block, wrapping around.
  void MoveInSelection(bool forward);
  // Hides the typing caret and the in-place editor.
  void HideEditing();
  void ShowEditCaret();
  const std::wstring& TypedText() const { return typedText_; }
  bool EditorShown() const { return editorShown_; }
  // One flag for every grid: only the focused one owns a caret.
  static bool CaretShown() { return caretShown_; }
  TTextInplace& InplaceEditor() { return *editor_; }
  HitZone Zone() const { return zone_; }
  std::int32_t SizingCol() const { return sizingCol_; }
  std::int32_t DragLineIndex() const { return dragLineIndex_; }
  // Redraws the inside of one cell after its text changed; returns the caret point.
  Point RedrawCellInside(std::int32_t col, std::int32_t row, bool flushRightWhileTyping);

  // ---- Painting ----

  // Draws the whole control; the platform clips it to what needs repainting.
  void Paint(Canvas& canvas);
  // Draws what meets the rectangles that need repainting and skips the cells that do not;
  // the platform clips the drawing to them.
  void Paint(Canvas& canvas, std::span<const Rect> dirty);
  // A cell's background: the column's colour, striped on odd rows where the column keeps the
  // grid's colour, the selection colour inside the block except on the current cell.
  Colour CellColor(std::int32_t col, std::int32_t row) const;
  // Client pixels of the fill handle drawn last, and where it goes next (0 bottom-right,
  // 1 top-right, 2 bottom-left).
  const Rect& FillHandleRect() const { return fillHandleRect_; }
  std::int32_t FillHandleCorner() const { return fillHandleCorner_; }
  // The block of a fill drag in progress; all -1 when none.
  const Rect& FillArea() const { return fillArea_; }

  // ---- Repaint rectangles ----
  // Where rows, columns and the bars sit: while it stays, a change of rows or cells repaints
  // just what it changed; once any of it moved, everything is repainted.
  struct Placement {
    Size client;
    std::int32_t cellLeft, headerHeight, columnsWidth, hScrollPos, vScrollPos, footerTop;
    std::vector<std::int32_t> columnWidths;  // 0 for a hidden column
    bool operator==(const Placement&) const = default;
  };
  Placement CurrentPlacement() const;
  // Whether the picture is the grid's data drawn by the grid alone, so that what a change
  // leaves alone needs no repaint.
  bool PictureFollowsData() const;
  Rect SelectionBounds() const;
  void ChangeRowCount(std::int32_t value, std::int32_t firstChanged, bool rowsBelowMoveUp);
  void RepaintRowsFrom(std::int32_t row, const Rect& oldSelection, bool rowsBelowMoveUp);
  void NoteUpdatedCell(std::int32_t col, std::int32_t row);
  void RepaintUpdatedCells();
  void RepaintAll();
  void RepaintCells();
  void RepaintGutter();
  void RepaintHeader();
  void RepaintBelow(std::int32_t y);
  void RepaintRightOf(std::int32_t x);
  void RepaintColumn(std::int32_t col);

  GridHost& Host() const { return *host_; }

 private:
  friend class TTextColumns;
  friend class TTextColumn;
  friend class TTextInplace;

  // Column collection notifications.
  void ColumnChanged(const TTextColumn& column);
  void ColumnsChanged();
  void ColumnVisibilityChanging(std::int32_t index) { fitSkipCol_ = index; }

  TTextColumn& ColumnAt(std::int32_t col) const;
  // Runs work under the update lock (no painting, no per-cell redraw), unlocking however it ends.
  // The callers repaint what the work changed, so the cells it stored are not kept for the next
  // EndUpdate; a paint the lock swallowed is made up for at once.
  template <class Work>
  void WhileUpdating(Work&& work) {
    const UpdateBookkeeping outer = TakeUpdateBookkeeping();
    updating_ = true;
    try {
      work();
    } catch (...) {
      updating_ = false;
      EndWorkWhileUpdating(outer);
      throw;
    }
    updating_ = false;
    EndWorkWhileUpdating(outer);
  }
  // What an update keeps for its end: the cells stored and whether a paint was swallowed.
  struct UpdateBookkeeping {
    Rect cellsUpdated;
    bool paintMissed;
  };
  UpdateBookkeeping TakeUpdateBookkeeping();
  void EndWorkWhileUpdating(const UpdateBookkeeping& outer);
  // Painting steps.
  Rect ClientRectOfBlock(const Rect& block) const;
  std::pair<std::int32_t, std::int32_t> RowsMeeting(std::int32_t top, std::int32_t bottom) const;
  grid::Font CellFont(std::int32_t col) const;
  void DrawCells(Canvas& canvas, std::span<const Rect> dirty);
  void DrawCell(Canvas& canvas, std::int32_t col, std::int32_t row);
  void DrawFixedCell(Canvas& canvas, const Rect& rect, const std::wstring& text, const TOnDrawHeaderEvent& event,
                     const grid::Font& font);
  void DrawGutter(Canvas& canvas);
  void DrawGutterPointer(Canvas& canvas, const Rect& rect);
  void DrawHeader(Canvas& canvas);
  void DrawFooter(Canvas& canvas);
  void DrawBackground(Canvas& canvas);
  void DrawSelectionFrame(Canvas& canvas);
  // Input steps.
  bool CtrlKey(std::uint16_t key);
  bool ShiftKey(std::uint16_t key);
  bool PlainKey(std::uint16_t key);
  void Enter();
  void FillCells(const std::wstring& text, std::int32_t lastCol, std::int32_t lastRow, bool down);
  void DeleteBlockTexts();
  void AutoRemoveOrUp();
  void AutoAppendOrDown();
  void StoreTyped();
  void HideCaret();
  void SetZone(HitZone zone);
  void MouseDownInZone(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
  void DragInZone(std::int32_t x, std::int32_t y);
  void ResizeColumn(std::int32_t x);
  void FillCopy();
  void FinishMouseUp(std::int32_t x, std::int32_t y);
  void EndDrag();
  Point ClampedCellFromPoint(std::int32_t x, std::int32_t y) const;
  bool IsCell(std::int32_t col, std::int32_t row) const;
  void ClampCurrentCell();
  // The current cell alone selected, the anchor on it.
  void SelectCurrentCellOnly();
  void KeepSelectionOnColumns();
  void ApplyAutoColWidth();
  void FitColumns(std::int32_t available);
  std::int32_t VisibleColumnsWidth() const;
  Size ClientSize() const { return host_->ClientSize(); }
  // The selected block as clipboard text; when cutting, each copied cell is emptied.
  std::wstring SelectionText(bool cut);

  GridHost* host_;
  std::unique_ptr<TTextColumns> columns_;
  std::vector<HeaderSpan> headerSpans_;

  std::int32_t rowCount_ = 5;
  bool autoAddRow_ = false;
  bool autoFillDown_ = false;
  bool autoFillRight_ = false;
  std::int32_t defRowHeight_ = 18;
  std::int32_t defColWidth_ = 80;
  bool flat_ = true;
  Colour color_ = clWindow;
  Colour alternateColor_ = clWindow;
  Colour gridColor_ = clBtnFace;
  bool showGrid_ = true;
  std::int32_t headerLine_ = 1;
  Colour headerColor_ = clBtnFace;
  Colour headerLightColor_ = clBtnHighlight;
  Colour headerDarkColor_ = clBtnShadow;
  Colour selectionColor_ = 0x00CAFFFF;
  grid::Font headerFont_;
  grid::Font footerFont_;
  grid::Font gutterFont_;
  grid::Font font_;
  bool fitToWidth_ = false;
  bool autoColWidth_ = false;
  bool readOnly_ = false;
  TGutterKind gutterKind_ = TGutterKind::gkBlank;
  std::int32_t gutterWidth_ = 20;
  std::vector<std::wstring> gutterStrings_;
  bool showFooter_ = false;
  bool enabled_ = true;
  std::int32_t cursor_ = 101;

  std::int32_t currentCol_ = 0;
  std::int32_t currentRow_ = 0;
  std::int32_t anchorCol_ = 0;
  std::int32_t anchorRow_ = 0;
  Rect selectArea_;
  static constexpr Rect kNoArea{-1, -1, -1, -1};  // no fill drag, no fill handle drawn
  Rect fillArea_ = kNoArea;
  Rect fillHandleRect_ = kNoArea;
  std::int32_t fillHandleCorner_ = 0;
  bool updating_ = false;
  bool paintMissedWhileUpdating_ = false;
  Rect cellsUpdated_ = kNoArea;  // the block of cells stored while updating, not yet redrawn
  std::int32_t fitSkipCol_ = -1;

  std::int32_t cellLeft_ = 0;
  std::int32_t headerHeight_ = 0;
  std::int32_t columnsWidth_ = 0;
  std::int32_t rowsHeight_ = 0;
  std::int32_t usedWidth_ = 200;
  std::int32_t usedHeight_ = 200;
  std::int32_t footerTop_ = 0;
  Rect cellArea_;
  std::int32_t hScrollPos_ = 0;
  std::int32_t vScrollPos_ = 0;
  std::int32_t hScrollMax_ = 0;
  std::int32_t vScrollMax_ = 0;
  std::int32_t lineStep_ = 18;
  std::int32_t pageStep_ = 90;

  std::wstring typedText_;
  bool editorShown_ = false;
  inline static bool caretShown_ = false;
  HitZone zone_ = HitZone::Cell;
  std::int32_t sizingCol_ = -1;
  std::int32_t sizingColLeft_ = -1;
  std::int32_t dragLineIndex_ = 0;
  bool dragging_ = false;  // from a mouse-down until its mouse-up or the loss of the capture
  std::unique_ptr<TTextInplace> editor_;
};

}  // namespace grid
