#!/usr/bin/env bash
# Sets up and builds, then starts the line monitor Test.exe on the simulated device in demo
# mode, under Wine in a virtual desktop (a real Windows machine runs the binaries directly).
# The simulated device is registered in the demo's own Wine prefix (build/demo), never in
# the tests' prefix. The console tool drives it meanwhile: see the README. The 32-bit programs
# run where this machine runs 32-bit programs, the 64-bit ones elsewhere.
#   demo.sh [--ncid]
# --ncid: Test.exe reads its calls from the fixture NCID server on a free loopback port,
# through the open-source device control registered in the device control's place.
set -euo pipefail
ncid=
[[ ${1:-} == --ncid ]] && ncid=yes
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
source_control=$build/opencid/win32/opencid.dll

missing=()
[[ -f $monitor ]] || missing+=("the line monitor ($monitor)")
[[ -f $device_control ]] || missing+=("the simulated device control ($device_control)")
[[ -f $console_tool ]] || missing+=("the device console tool ($console_tool)")
[[ -z $ncid || -f $source_control ]] || missing+=("the open-source device control ($source_control)")
if ((${#missing[@]})); then
  for piece in "${missing[@]}"; do echo "demo: not built by this version of the project: $piece" >&2; done
  echo "demo: there is nothing to start. scripts/test.sh runs what exists." >&2
  exit 1
fi

demo=$root/build/demo-$preset
mkdir -p "$demo"
wine_env "$demo" "$(windows_width_of "$build")"
trap 'wine_stop "$demo"' EXIT

# Each run gives the device control's class to the control it shows, taking it from the other.
if [[ -n $ncid ]]; then
  fixture_log=$demo/ncid-fixture.log
  python3 opencid/win32/tests/ncid_fixture.py --demo 20 >"$fixture_log" 2>&1 &
  fixture_pid=$!
  trap 'kill "$fixture_pid" 2>/dev/null; wine_stop "$demo"' EXIT
  ports=
  for _ in $(seq 1 50); do
    ports=$(sed -n 's/^NCID fixture on 127.0.0.1:\([0-9]*\), commands on 127.0.0.1:\([0-9]*\)$/\1 \2/p' "$fixture_log")
    [[ -n $ports ]] && break
    sleep 0.1
  done
  [[ -n $ports ]] || { echo "demo: the fixture NCID server did not start:" >&2; cat "$fixture_log" >&2; exit 1; }
  read -r ncid_port control_port <<<"$ports"
  wine regsvr32 /s /u "$(wine winepath -w "$device_control")" || true  # refused while not its own
  wine regsvr32 /s /n /i:"ncid=127.0.0.1:$ncid_port,as-device" "$(wine winepath -w "$source_control")"
else
  [[ -f $source_control ]] && { wine regsvr32 /s /u "$(wine winepath -w "$source_control")" || true; }
  wine regsvr32 /s "$(wine winepath -w "$device_control")"
fi
# Every program of the prefix shares one virtual desktop: the console tool finds the device
# control's window only on the desktop where Test.exe made it.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d TestDemo /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v TestDemo /d 1024x768 /f >/dev/null
echo "demo: the $width Test.exe starts in the virtual desktop \"TestDemo\" on display $DISPLAY"
wine "$monitor" &
monitor_pid=$!

if [[ -n $ncid ]]; then
  echo "demo: the fixture NCID server on 127.0.0.1:$ncid_port sends a call every 20 s; make one, stop or start it with"
  echo "demo:   printf 'call POTS 05321234567 AYŞE YILMAZ\\n' >/dev/tcp/127.0.0.1/$control_port   # or: stop, start"
  echo "demo: and see the control's state with"
  echo "demo:   WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY $(wine_loader) $console_tool status"
else
  # Demo mode once Test.exe has created its device control.
  for _ in $(seq 1 60); do
    wine "$console_tool" demo on >/dev/null 2>&1 && break
    sleep 1
  done
  echo "demo: the device plays calls and levels by itself; drive it with"
  echo "demo:   WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY $(wine_loader) $console_tool status|plug|unplug|call|levels|demo off"
fi
echo "demo: close the window (or choose Çıkış) to end."
wait "$monitor_pid"
