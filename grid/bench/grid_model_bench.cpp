// Per-call cost of the grid's model: the call log's work on its 10-row grid, and appending
// and reading rows on grids of growing size (the cost must not grow with the rows held).
#include <benchmark/benchmark.h>

#include "grid/tests/call_log_grid.h"
#include "grid/text_grid.h"

namespace {

// A window that does nothing: only the grid's own work is measured.
class NullHost : public grid::GridHost {
 public:
  grid::Size ClientSize() const override { return {600, 250}; }
  void Invalidate(const grid::Rect&) override {}
  void SetScrollBar(grid::ScrollBarKind, std::int32_t, unsigned, std::int32_t) override {}
  void ShowScrollBars(bool, bool) override {}
  grid::Canvas& DrawingCanvas() override { return canvas_; }
  std::optional<std::wstring> ClipboardText() override { return std::nullopt; }
  void SetClipboardText(const std::wstring&) override {}

 private:
  class NullCanvas : public grid::Canvas {
   public:
    void SetFont(const grid::Font&) override {}
    grid::Size TextExtent(std::wstring_view text) override { return {static_cast<std::int32_t>(text.size()), 13}; }
  } canvas_;
};

void FillRows(grid::TTextGrid& grid, std::int32_t rows) {
  grid.BeginUpdate();
  for (std::int32_t row = 0; row < rows; ++row) {
    grid.AddRow();
    for (std::int32_t col = 0; col < 6; ++col) grid.SetCells(col, row, std::to_wstring(row));
  }
  grid.EndUpdate();
}

void CallLogCall(benchmark::State& state) {
  NullHost host;
  grid::TTextGrid grid(host);
  grid::testing::ConfigureAsCallLog(grid);
  std::int32_t number = 0;
  for (auto _ : state) grid::testing::LogCall(grid, ++number);
  benchmark::DoNotOptimize(grid.RowCount());
}
BENCHMARK(CallLogCall);

void AddRow(benchmark::State& state) {
  NullHost host;
  grid::TTextGrid grid(host);
  grid::testing::ConfigureAsCallLog(grid);
  const auto rows = static_cast<std::int32_t>(state.range(0));
  FillRows(grid, rows);
  for (auto _ : state) {
    benchmark::DoNotOptimize(grid.AddRow());
    state.PauseTiming();
    grid.SetRowCount(rows);
    state.ResumeTiming();
  }
}
BENCHMARK(AddRow)->Arg(100)->Arg(100'000);

void CellsRead(benchmark::State& state) {
  NullHost host;
  grid::TTextGrid grid(host);
  grid::testing::ConfigureAsCallLog(grid);
  const auto rows = static_cast<std::int32_t>(state.range(0));
  FillRows(grid, rows);
  std::int32_t row = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(grid.Cells(3, row));
    row = row + 1 == rows ? 0 : row + 1;  // rows are read in order, as painting and copying do
  }
}
BENCHMARK(CellsRead)->Arg(100)->Arg(100'000);

void DeleteFirstRow(benchmark::State& state) {
  NullHost host;
  grid::TTextGrid grid(host);
  grid::testing::ConfigureAsCallLog(grid);
  const auto rows = static_cast<std::int32_t>(state.range(0));
  FillRows(grid, rows);
  for (auto _ : state) {
    grid.DeleteRow(0);
    state.PauseTiming();
    grid.SetRowCount(rows);
    state.ResumeTiming();
  }
}
BENCHMARK(DeleteFirstRow)->Arg(100)->Arg(100'000);

}  // namespace
