#!/usr/bin/env bash
# Sets up, builds both configurations and runs every test: the portable cores natively under
# the sanitizers, the Windows parts under Wine. Ends with "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/wine-env.sh

bash scripts/build.sh native windows || { echo "0 passed, 1 failed"; exit 1; }

trap 'wine_stop "$root/build/windows"' EXIT
status=0
for preset in native windows; do
  # CTest keeps the failure list of an earlier run when this one passes: start clean.
  rm -rf "build/$preset/test-results" "build/$preset/Testing/Temporary/LastTestsFailed.log"
  echo "== $preset tests"
  ctest --preset "$preset" --parallel "$(nproc)" --timeout 900 || status=1
done

bash scripts/summarize-tests.sh build/native build/windows || status=1
exit $status
