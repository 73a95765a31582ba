#!/usr/bin/env bash
# Sets up what is missing, then configures (once) and builds the given presets
# (default: native and windows). Ninja rebuilds only what changed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh

presets=("$@")
((${#presets[@]})) || presets=(native windows)
for preset in "${presets[@]}"; do
  [[ -f build/$preset/CMakeCache.txt ]] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
