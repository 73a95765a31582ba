// Paint of a grid of 1,000,000 rows against the same grid with 12 rows: painting costs what
// the visible cells cost, so the two must take about the same time.
#include <benchmark/benchmark.h>

#include "grid/bench/null_host.h"
#include "grid/tests/call_log_grid.h"
#include "grid/text_grid.h"

namespace {

void Paint(benchmark::State& state) {
  grid::bench::NullHost host;
  grid::TTextGrid grid(host);
  grid::testing::ConfigureAsCallLog(grid);
  const auto rows = static_cast<std::int32_t>(state.range(0));
  grid.SetRowCount(rows);
  for (std::int32_t col = 0; col < 6; ++col) grid.SetCells(col, rows - 1, L"son satır");
  grid.SetVScrollPos(grid.VScrollMax());  // the last rows, where a full walk would cost most
  for (auto _ : state) grid.Paint(host.canvas);
  state.counters["drawn"] = benchmark::Counter(static_cast<double>(host.canvas.calls) / static_cast<double>(state.iterations()));
}
BENCHMARK(Paint)->Arg(12)->Arg(1'000'000);

}  // namespace
