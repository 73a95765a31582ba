#!/usr/bin/env bash
# Sets up, builds every configuration and runs every test: the portable cores natively under
# the sanitizers, the Windows parts under Wine in 64 bits and, where this machine runs 32-bit
# programs, in 32 bits. Ends with "N passed, N failed" (", N skipped" when some could not run).
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/wine-env.sh

bash scripts/build.sh native windows64 windows || { echo "0 passed, 1 failed"; exit 1; }

run=(native windows64) skip=()
if runs_32bit_programs; then
  run+=(windows)
else
  echo "$(no_32bit_reason): 32-bit Windows build compiled, its tests skipped"
  skip=(--skipped build/windows --like build/windows64)
fi

trap 'for b in windows64 windows; do wine_stop "$root/build/$b"; done' EXIT
status=0
for preset in "${run[@]}"; do
  # CTest keeps the failure list of an earlier run when this one passes: start clean.
  rm -rf "build/$preset/test-results" "build/$preset/Testing/Temporary/LastTestsFailed.log"
  echo "== $preset tests"
  ctest --preset "$preset" --parallel "$(nproc)" --timeout 900 || status=1
done

bash scripts/summarize-tests.sh "${run[@]/#/build/}" "${skip[@]}" || status=1
exit $status
