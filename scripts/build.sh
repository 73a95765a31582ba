#!/usr/bin/env bash
# Sets up what is missing, then configures (once) and builds the given presets
# (default: native, fuzz, windows64 and windows). Ninja rebuilds only what changed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
source scripts/wine-env.sh

# configure PRESET [CACHE-SETTINGS...]: once, and again when a setting differs from the cache.
configure() {
  local preset=$1 setting
  shift
  for setting in "$@"; do
    grep -qxF "${setting#-D}" <(sed 's/:[A-Z]*=/=/' "build/$preset/CMakeCache.txt" 2>/dev/null) ||
      { cmake --preset "$preset" "$@" >/dev/null; return; }
  done
  [[ -f build/$preset/CMakeCache.txt ]] || cmake --preset "$preset" "$@" >/dev/null
}

presets=("$@")
((${#presets[@]})) || presets=(native fuzz windows64 windows)
for preset in "${presets[@]}"; do
  settings=()
  # The 32-bit build writes its type library with a program of its own width; where no
  # 32-bit program runs, the 64-bit writer does it.
  # So does the writer of its installer's registry entries.
  if [[ $preset == windows ]] && ! runs_32bit_programs; then
    configure windows64
    cmake --build --preset windows64 --target make_type_library make_installer_registry
    settings=(-DTYPE_LIBRARY_WRITER="$root/build/windows64/legacy/make_type_library.exe"
              -DINSTALLER_REGISTRY_WRITER="$root/build/windows64/make_installer_registry.exe")
  elif [[ $preset == windows ]]; then
    settings=(-DTYPE_LIBRARY_WRITER= -DINSTALLER_REGISTRY_WRITER=)
  fi
  configure "$preset" "${settings[@]}"
  cmake --build --preset "$preset"
done
