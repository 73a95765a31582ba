// Per-call cost of the grid's model: the call log's work on its 10-row grid, and appending
// and reading rows on grids of growing size (the cost must not grow with the rows held).
#include <benchmark/benchmark.h>

#include "grid/tests/call_log_grid.h"
#include "grid/bench/null_host.h"
#include "grid/text_grid.h"

namespace {

void FillRows(grid::TTextGrid& grid, std::int32_t rows) {
  grid.BeginUpdate();
  for (std::int32_t row = 0; row < rows; ++row) {
    grid.AddRow();
    for (std::int32_t col = 0; col < 6; ++col) grid.SetCells(col, row, std::to_wstring(row));
  }
  grid.EndUpdate();
}

void CallLogCall(benchmark::State& state) {
  grid::bench::NullHost host;
  grid::TTextGrid grid(host);
  grid::testing::ConfigureAsCallLog(grid);
  std::int32_t number = 0;
  for (auto _ : state) grid::testing::LogCall(grid, ++number);
  benchmark::DoNotOptimize(grid.RowCount());
}
BENCHMARK(CallLogCall);

// Times one row operation on a grid of state.range(0) rows, restoring the count between runs.
template <class Operation>
void TimeRowOperation(benchmark::State& state, Operation operation) {
  grid::bench::NullHost host;
  grid::TTextGrid grid(host);
  grid::testing::ConfigureAsCallLog(grid);
  const auto rows = static_cast<std::int32_t>(state.range(0));
  FillRows(grid, rows);
  for (auto _ : state) {
    operation(grid);
    state.PauseTiming();
    grid.SetRowCount(rows);
    state.ResumeTiming();
  }
}

void AddRow(benchmark::State& state) {
  TimeRowOperation(state, [](grid::TTextGrid& grid) { benchmark::DoNotOptimize(grid.AddRow()); });
}
BENCHMARK(AddRow)->Arg(100)->Arg(100'000);

void CellsRead(benchmark::State& state) {
  grid::bench::NullHost host;
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
  TimeRowOperation(state, [](grid::TTextGrid& grid) { grid.DeleteRow(0); });
}
BENCHMARK(DeleteFirstRow)->Arg(100)->Arg(100'000);

}  // namespace
