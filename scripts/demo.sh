#!/usr/bin/env bash
# Sets up and builds, then starts the line monitor Test.exe on the simulated device in demo
# mode, under Wine in a virtual desktop (a real Windows machine runs the binaries directly).
# The simulated device is registered in the demo's own Wine prefix (build/demo), never in
# the tests' prefix. The console tool drives it meanwhile: see the README. The 32-bit programs
# run where this machine runs 32-bit programs, the 64-bit ones elsewhere.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/wine-env.sh

if runs_32bit_programs; then
  preset=windows width="32-bit"
else
  preset=windows64 width="64-bit ($(no_32bit_reason))"
fi
bash scripts/build.sh "$preset"

build=$root/build/$preset
monitor=$build/monitor/Test.exe
device_control=$build/device/win32/devsim.dll
console_tool=$build/device/win32/devctl.exe

missing=()
[[ -f $monitor ]] || missing+=("the line monitor ($monitor)")
[[ -f $device_control ]] || missing+=("the simulated device control ($device_control)")
[[ -f $console_tool ]] || missing+=("the device console tool ($console_tool)")
if ((${#missing[@]})); then
  for piece in "${missing[@]}"; do echo "demo: not built by this version of the project: $piece" >&2; done
  echo "demo: there is nothing to start. scripts/test.sh runs what exists." >&2
  exit 1
fi

demo=$root/build/demo-$preset
mkdir -p "$demo"
wine_env "$demo" "$(windows_width_of "$build")"
trap 'wine_stop "$demo"' EXIT

wine regsvr32 /s "$(wine winepath -w "$device_control")"
# Every program of the prefix shares one virtual desktop: the console tool finds the device
# control's window only on the desktop where Test.exe made it.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d TestDemo /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v TestDemo /d 1024x768 /f >/dev/null
echo "demo: the $width Test.exe starts in the virtual desktop \"TestDemo\" on display $DISPLAY"
wine "$monitor" &
monitor_pid=$!

# Demo mode once Test.exe has created its device control.
for _ in $(seq 1 60); do
  wine "$console_tool" demo on >/dev/null 2>&1 && break
  sleep 1
done
echo "demo: the device plays calls and levels by itself; drive it with"
echo "demo:   WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY $(wine_loader) $console_tool status|plug|unplug|call|levels|demo off"
echo "demo: close the window (or choose Çıkış) to end."
wait "$monitor_pid"
