#!/usr/bin/env bash
# Builds what the benchmarks need and runs every benchmark and timing program, one at a time,
# then prints one table: measure, figure, the baseline measured in the same run, their ratio,
# the goal and whether it is met. The Windows programs run under Wine in 64 bits and, where
# this machine runs 32-bit programs, in 32 bits as well. Exits non-zero when a goal is missed
# or a program fails.
#   scripts/bench.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/wine-env.sh

widths=(windows64)
runs_32bit_programs && widths+=(windows)
bash scripts/build.sh bench windows64 windows
cmake --build --preset bench
for preset in windows64 windows; do cmake --build --preset "$preset" --target all bench_programs; done

rows=$(mktemp)
# The relay's log on a memory file system where there is one: each call is still flushed
# through the file system's cache, but the figure is the relay's, not the disk's (a disk
# shared with builds takes up to tens of milliseconds per flush).
relay_logs=$(mktemp -d -p "$([[ -d /dev/shm ]] && echo /dev/shm || echo "${TMPDIR:-/tmp}")" relay-bench.XXXXXX)
trap 'rm -rf "$rows" "$relay_logs"; for b in windows64 windows; do wine_stop "$root/build/$b"; done' EXIT
failed=0

# The path Wine's programs know a file by: drive Z: is the root of this machine.
windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }

# row FIELDS...: one row of the table, tab-separated.
row() { local IFS=$'\t'; echo "$*" >>"$rows"; }

# Runs a program; its "bench" lines become rows, marked with the width, the rest is shown.
run() {
  local label=$1 output
  shift
  echo "== $*" >&2
  # Windows programs end their lines with a carriage return as well.
  output=$("$@" 2>&1 | tr -d '\r') || { failed=1; echo "$output" >&2; echo "bench: $1 failed" >&2; }
  grep -v '^bench' <<<"$output" | grep -v ':fixme:' >&2 || true
  grep '^bench' <<<"$output" | cut -f2- | sed "s/^/[$label] /" >>"$rows" || true
}

# The portable grid: painting a million rows costs what painting twelve does.
echo "== grid painting (native)" >&2
# The two sizes are interleaved, so that the machine's changes of speed fall on both alike.
csv=$(build/bench/grid/bench/grid_paint_bench --benchmark_repetitions=25 --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null)
median() { grep "^\"Paint/$1_median\"" <<<"$csv" | cut -d, -f3; }
awk -v small="$(median 12)" -v large="$(median 1000000)" 'BEGIN {
  ratio = large / small
  printf "[native] grid paint, 1,000,000 rows (medians of 25)\t%.0f ns\t%.0f ns with 12 rows\t%.3g\t<= 1.1\t%s\n",
         large, small, ratio, ratio <= 1.1 ? "yes" : "NO" }' >>"$rows"

for build in "${widths[@]}"; do
  bits=$(windows_width_of "build/$build")
  bits=${bits#win}
  label="$bits-bit"
  run "$label" scripts/wine-run.sh "build/$build/legacy/tests/kallora_timing.exe"
  run "$label" scripts/wine-run.sh "build/$build/monitor/monitor_call_timing.exe"
  run "$label" scripts/wine-run.sh "build/$build/monitor/monitor_startup_timing.exe" \
    "$(windows_path "build/$build/monitor/Test.exe")" "$(windows_path "build/$build/monitor/monitor_minimal_window.exe")" 21
  run "$label" scripts/wine-run.sh "build/$build/monitor/monitor_long_run.exe"
  run "$label" scripts/wine-run.sh "build/$build/relay/win32/relay_timing.exe" 100000 "$(windows_path "$relay_logs")"
  # The suite's cycles test, ten times as long: the heap's growth over 10,000 controls.
  run "$label" env KALLORA_CYCLES=10000 scripts/wine-run.sh "build/$build/legacy/tests/legacy_cycles_test.exe"
done

# Sizes as shipped: stripped copies of both programs in both widths.
for build in windows64 windows; do
  bits=$(windows_width_of "build/$build")
  bits=${bits#win}
  strip=$([[ $bits == 64 ]] && echo x86_64-w64-mingw32-strip || echo i686-w64-mingw32-strip)
  for program in monitor/Test.exe legacy/tevrin4.dll; do
    copy=$(mktemp)
    "$strip" -o "$copy" "build/$build/$program"
    row "[$bits-bit] size of $(basename "$program"), stripped" "$(stat -c %s "$copy") B" "-" "-" "-" "-"
    rm -f "$copy"
  done
done

awk -F'\t' '
  { for (i = 1; i <= NF; i++) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) } }
  END {
    split("measure|figure|baseline|ratio|goal|met", head, "|")
    for (i = 1; i <= 6; i++) if (length(head[i]) > width[i]) width[i] = length(head[i])
    for (i = 1; i <= 6; i++) printf "%-*s%s", width[i], head[i], i < 6 ? "  " : "\n"
    for (r = 1; r <= NR; r++) for (i = 1; i <= 6; i++) printf "%-*s%s", width[i], cell[r, i], i < 6 ? "  " : "\n"
  }' "$rows"
if grep -q $'\tNO$' "$rows"; then failed=1; fi
exit $failed
