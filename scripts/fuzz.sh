#!/usr/bin/env bash
# Builds the fuzz targets (preset fuzz: clang, libFuzzer, AddressSanitizer and UBSan) and runs
# each for as long as one likes.
#   scripts/fuzz.sh [--merge] [SECONDS] [TARGET...]
# SECONDS per target (default 300); TARGET as registered (device_int, grid_ops, ...; default
# every one). New inputs go to build/fuzz/fuzz-work/TARGET/corpus, and the input that broke a
# target in this run to build/fuzz/fuzz-work/TARGET/crashes/: add it to the target's committed corpus
# (COMPONENT/fuzz/corpus/TARGET/) once its fault is mended. --merge also adds the new inputs
# that reach new code to the committed corpus.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

if [[ ${1:-} == --merge ]]; then
  export FUZZ_MERGE=1
  shift
fi
seconds=300
if [[ ${1:-} =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi

bash scripts/build.sh fuzz

selection=()
if (($#)); then
  tests=("${@/%/_fuzz}")
  tests=("${tests[@]/%_fuzz_fuzz/_fuzz}")
  selection=(-R "^($(IFS='|'; echo "${tests[*]}"))\$")
fi
rm -rf build/fuzz/Testing/Temporary/LastTestsFailed.log
FUZZ_SECONDS=$seconds ctest --preset fuzz --no-tests=error --timeout $((seconds + 600)) "${selection[@]}"
