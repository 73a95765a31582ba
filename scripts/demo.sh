#!/usr/bin/env bash
# Sets up and builds, then starts the line monitor Test.exe on the simulated device in demo
# mode, under Wine in a virtual desktop (a real Windows machine runs the binaries directly).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/build.sh windows

monitor=build/windows/monitor/Test.exe
if [[ ! -f $monitor ]]; then
  echo "demo: the line monitor (Test.exe) is not built by this version of the project yet;" >&2
  echo "demo: there is nothing to start. scripts/test.sh runs what exists." >&2
  exit 1
fi
