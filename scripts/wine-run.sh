#!/usr/bin/env bash
# Runs a Windows program under Wine, in the private prefix of the build folder it belongs to,
# on a virtual X display when none is set. CTest runs every Windows test through this.
#   wine-run.sh PROGRAM.exe [ARGS...]
# WINE_BUILD_DIR overrides the build folder (found by walking up from the program to
# CMakeCache.txt); WINE_LOCALE overrides the locale (Turkish by default, code page 1254).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"

program=$1
shift
wine_env "${WINE_BUILD_DIR:-$(build_dir_of "$program")}"
[[ -t 1 ]] && exec "$(wine_loader)" "$program" "$@"

# Wine's helper processes (services, explorer) outlive the program and inherit its output; a
# pipe they held would keep CTest waiting forever, so the output goes through a file.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
wine "$program" "$@" </dev/null >"$log" 2>&1 || status=$?
cat "$log"
exit "$status"
