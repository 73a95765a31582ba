// A grid driven by random sequences of program calls and user input: row and column changes,
// hidden columns, layout options, keys, typing, mouse presses and drags, the in-place editor,
// scrolling, painting, copy, cut and paste. After every step the current cell, the anchor,
// the selection and the fill area must lie inside the grid; a mouse-up must end every drag
// (no capture, no fill area); a copy must put one line per selected row and one field per
// visible selected column on the clipboard. Failures the grid reports as its own errors are
// fine (the window's guard swallows them); anything else that escapes is a fault.
// With GRID_OPS_TRACE set, each step prints the numbers it drew and the grid's state after it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/error.h"
#include "common/fuzz/fuzz_check.h"
#include "common/utf16.h"
#include "grid/clipboard_text.h"
#include "grid/tests/recording_host.h"
#include "grid/text_grid.h"

namespace grid {
namespace {

using common::fuzz::Require;

// The recording host, with the capture state kept and without ever-growing records.
class FuzzHost : public testing::RecordingHost {
 public:
  FuzzHost() : RecordingHost({300, 200}) {}
  void SetCapture() override { captured = true; }
  void ReleaseCapture() override { captured = false; }
  void Forget() {
    ClearRecords();
    canvas.texts.clear();
    canvas.clips.clear();
    canvas.measured.clear();
  }
  bool captured = false;
};

bool Inside(std::int32_t index, std::int32_t count) { return index >= 0 && index < count; }

bool BlockInside(const Rect& block, std::int32_t cols, std::int32_t rows) {
  return Inside(block.left, cols) && Inside(block.right, cols) && Inside(block.top, rows) &&
         Inside(block.bottom, rows) && block.left <= block.right && block.top <= block.bottom;
}

void CheckInsideGrid(const TTextGrid& grid) {
  const std::int32_t cols = grid.ColCount(), rows = grid.RowCount();
  Require(rows >= 0, "the row count is never negative");
  if (cols == 0 || rows == 0) return;
  Require(Inside(grid.CurrentCol(), cols) && Inside(grid.CurrentRow(), rows), "the current cell is inside the grid");
  Require(Inside(grid.AnchorCol(), cols) && Inside(grid.AnchorRow(), rows), "the anchor is inside the grid");
  Require(BlockInside(grid.SelectArea(), cols, rows), "the selection is inside the grid");
  const Rect none{-1, -1, -1, -1};
  Require(grid.FillArea() == none || BlockInside(grid.FillArea(), cols, rows), "the fill area is inside the grid");
}

// One line per selected row, one field per visible column of the selection, as long as no
// cell holds a tab or a line break (the clipboard's form has no quoting).
void CheckCopiedText(const TTextGrid& grid, const std::wstring& text) {
  const Rect& block = grid.SelectArea();
  std::size_t visible = 0;
  for (std::int32_t col = block.left; col <= block.right; ++col) {
    visible += grid.Columns()[col].Visible();
    for (std::int32_t row = block.top; row <= block.bottom; ++row)
      if (grid.CellText(col, row).find_first_of(L"\t\r\n") != std::wstring::npos) return;
  }
  const auto lines = SplitClipboardLines(text);
  Require(lines.size() == static_cast<std::size_t>(block.bottom - block.top + 1), "a copied line per selected row");
  for (const std::wstring& line : lines)
    Require(SplitFields(line).size() == std::max<std::size_t>(visible, 1), "a copied field per visible column");
}

void Trace(const TTextGrid& grid) {
  const Rect &s = grid.SelectArea(), &f = grid.FillArea();
  std::fprintf(stderr, "  -> %d cols, %d rows, current %d,%d, anchor %d,%d, selection %d,%d-%d,%d, fill %d,%d-%d,%d\n",
               grid.ColCount(), grid.RowCount(), grid.CurrentCol(), grid.CurrentRow(), grid.AnchorCol(),
               grid.AnchorRow(), s.left, s.top, s.right, s.bottom, f.left, f.top, f.right, f.bottom);
}

class GridDriver {
 public:
  explicit GridDriver(FuzzedDataProvider& input) : in_(input) {
    host_.editBox.onChange = [this] { grid_.InplaceEditor().Changed(); };
    grid_.WindowCreated();
  }

  void Run() {
    for (int step = 0; step < 300 && in_.remaining_bytes() > 0; ++step) {
      bool mouseUp = false;
      try {
        mouseUp = Step();
      } catch (const common::Error&) {
      }
      if (trace_) Trace(grid_);
      CheckInsideGrid(grid_);
      if (mouseUp) {
        Require(!host_.captured, "a mouse-up releases the capture");
        Require(grid_.FillArea() == (Rect{-1, -1, -1, -1}), "a mouse-up ends the fill drag");
      }
      host_.Forget();
    }
  }

 private:
  std::int32_t Int(std::int32_t low, std::int32_t high) {
    const std::int32_t value = in_.ConsumeIntegralInRange(low, high);
    if (trace_) std::fprintf(stderr, " %d", value);
    return value;
  }
  std::wstring Text(std::size_t most) { return common::FromUtf8(in_.ConsumeRandomLengthString(most)); }
  std::int32_t AnyCol() { return Int(-1, grid_.ColCount()); }
  std::int32_t AnyRow() { return Int(-1, grid_.RowCount()); }
  Point AnyPoint() { return {Int(-5, host_.window.width + 5), Int(-5, host_.window.height + 5)}; }
  TShiftState Shift() { return static_cast<TShiftState>(Int(0, 63)); }
  TMouseButton Button() { return static_cast<TMouseButton>(Int(0, 2)); }

  // True when the step was a mouse-up.
  bool Step() {
    switch (Int(0, 15)) {
      case 0: ChangeRowsOrColumns(); break;
      case 1: ChangeColumn(); break;
      case 2: ChangeOption(); break;
      case 3: ChangeCells(); break;
      case 4: Resize(); break;
      case 5: PressKey(); break;
      case 6: TypeCharacter(); break;
      case 7: {
        const Point p = AnyPoint();
        grid_.MouseMove(0, p.x, p.y);  // the press acts on the zone under the pointer
        grid_.MouseDown(Button(), Shift(), p.x, p.y);
        break;
      }
      case 8: {
        const Point p = AnyPoint();
        grid_.MouseMove(Shift(), p.x, p.y);
        break;
      }
      case 9: {
        const Point p = AnyPoint();
        grid_.MouseUp(Button(), Shift(), p.x, p.y);
        return true;
      }
      case 10: Scroll(); break;
      case 11: Paint(); break;
      case 12: ChangeFocus(); break;
      case 13: UseEditor(); break;
      case 14: host_.clipboard = Text(40); break;
      case 15: Copy(); break;
    }
    return false;
  }

  void ChangeRowsOrColumns() {
    switch (Int(0, 5)) {
      case 0: grid_.SetRowCount(Int(-3, 40)); break;
      case 1: grid_.SetColCount(Int(-1, 8)); break;
      case 2: grid_.AddRow(); break;
      case 3: grid_.InsertRow(AnyRow()); break;
      case 4: grid_.DeleteRow(AnyRow()); break;
      case 5: grid_.ClearCells(); break;
    }
  }

  void ChangeColumn() {
    if (grid_.ColCount() == 0) return;
    TTextColumn& column = grid_.Columns()[Int(0, grid_.ColCount() - 1)];
    switch (Int(0, 4)) {
      case 0: column.SetVisible(in_.ConsumeBool()); break;
      case 1: column.SetWidth(Int(-5, 150)); break;
      case 2: column.SetReadOnly(in_.ConsumeBool()); break;
      case 3: column.SetCanResize(in_.ConsumeBool()); break;
      case 4: column.SetHorzAlign(static_cast<THorzAlign>(Int(0, 2))); break;
    }
  }

  void ChangeOption() {
    const bool on = in_.ConsumeBool();
    switch (Int(0, 12)) {
      case 0: grid_.SetDefRowHeight(Int(-2, 40)); break;
      case 1: grid_.SetReadOnly(on); break;
      case 2: grid_.SetAutoAddRow(on); break;
      case 3: grid_.SetAutoFillDown(on); break;
      case 4: grid_.SetAutoFillRight(on); break;
      case 5: grid_.SetFitToWidth(on); break;
      case 6: grid_.SetAutoColWidth(on); break;
      case 7: grid_.SetShowFooter(on); break;
      case 8: grid_.SetEnabled(on); break;
      case 9: grid_.SetGutterKind(static_cast<TGutterKind>(Int(0, 4))); break;
      case 10: grid_.SetHeaderLine(Int(0, 3)); break;
      case 11: grid_.SetDefColWidth(Int(-5, 150)); break;
      case 12: on ? grid_.BeginUpdate() : grid_.EndUpdate(); break;
    }
  }

  void ChangeCells() {
    const std::int32_t col = AnyCol(), row = AnyRow();
    grid_.SetCells(col, row, Text(12));
  }

  void Resize() {
    host_.window = {Int(0, 400), Int(0, 300)};
    host_.canvas.Resize(host_.window);
    grid_.Resized();
  }

  void PressKey() {
    static constexpr std::uint16_t kKeys[] = {key::Back, key::Tab,  key::Enter, key::Escape,   key::PageUp,
                                              key::PageDown, key::End, key::Home, key::Left,   key::Up,
                                              key::Right,  key::Down, key::Insert, key::Delete, key::C,
                                              key::V,      key::X,    'A'};
    const std::uint16_t key = kKeys[Int(0, std::size(kKeys) - 1)];
    grid_.KeyDown(key, static_cast<TShiftState>(Int(0, 7)));
  }

  void TypeCharacter() {
    static constexpr wchar_t kCharacters[] = {L'a', L'*', L'>', L'\b', L'\r', L'\t', 0, L'\x15f'};
    grid_.KeyPress(in_.ConsumeBool() ? kCharacters[Int(0, std::size(kCharacters) - 1)]
                                     : static_cast<wchar_t>(Int(0, 0xFFFF)));
  }

  void Scroll() {
    const auto action = static_cast<ScrollAction>(Int(0, 8));
    const auto position = in_.ConsumeIntegral<std::int16_t>();
    switch (Int(0, 2)) {
      case 0: grid_.HScroll(action, position); break;
      case 1: grid_.VScroll(action, position); break;
      case 2: grid_.MouseWheel(position); break;
    }
  }

  void Paint() {
    host_.canvas.Clear();
    grid_.Paint(host_.canvas);
  }

  void ChangeFocus() {
    host_.focused = in_.ConsumeBool();
    if (host_.focused)
      grid_.FocusGained();
    else
      grid_.FocusLost(in_.ConsumeBool());
  }

  void UseEditor() {
    if (!host_.editBox.visible) return;
    TTextInplace& editor = grid_.InplaceEditor();
    switch (Int(0, 2)) {
      case 0: host_.editBox.Type(Text(12)); break;
      case 1: editor.KeyDown(static_cast<std::uint16_t>(Int(0, 50)), static_cast<TShiftState>(Int(0, 7))); break;
      case 2: editor.KeyPress(static_cast<wchar_t>(Int(0, 0xFFFF))); break;
    }
  }

  bool AnyColumnVisible() const {
    for (std::int32_t col = 0; col < grid_.ColCount(); ++col)
      if (grid_.Columns()[col].Visible()) return true;
    return false;
  }

  // Keys reach the grid only while a cell can be current: enabled, a row, a visible column.
  void Copy() {
    if (!grid_.Enabled() || grid_.RowCount() == 0 || !AnyColumnVisible()) return;
    host_.clipboard.reset();
    grid_.KeyDown(key::C, shift::ssCtrl);
    Require(host_.clipboard.has_value(), "Ctrl+C copies");
    CheckCopiedText(grid_, *host_.clipboard);
  }

  FuzzedDataProvider& in_;
  const bool trace_ = std::getenv("GRID_OPS_TRACE") != nullptr;
  FuzzHost host_;
  TTextGrid grid_{host_};
};

}  // namespace
}  // namespace grid

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  grid::GridDriver(input).Run();
  return 0;
}
