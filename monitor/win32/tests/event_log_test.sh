#!/usr/bin/env bash
# Failures that the programs go on without reach the Windows event log with their reason:
# Test.exe's when it cannot make the device control, the relay service's when it cannot start.
# In a prefix of their own, where no device control is registered; Wine shows what the event
# log is given as errors of its "eventlog" channel, from every process the prefix starts.
#   event_log_test.sh BUILD-FOLDER TEST-EXE CIDRELAY-EXE
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../../scripts/wine-env.sh"
build=$(cd "$1" && pwd)
monitor=$2 relay=$3

WINE_PREFIX_NAME=wineprefix-bare wine_env "$build" || exit 1
errors=$(mktemp)
trap 'wineserver -k >/dev/null 2>&1; rm -f "$errors"' EXIT
# The prefix starts anew, so that its services write where we read.
wineserver -k >/dev/null 2>&1
export WINEDEBUG=err+eventlog
run() { "$(wine_loader)" "$@" </dev/null >/dev/null 2>>"$errors"; }
failures=0

# expect TEXT: the event log was given TEXT, waiting up to 15 s for it.
expect() {
  local wait
  for ((wait = 0; wait < 150; ++wait)); do
    grep -q "err:eventlog.*$1" "$errors" && break
    sleep 0.1
  done
  if line=$(grep -m1 "err:eventlog.*$1" "$errors"); then
    echo "ok: the event log has ${line#*ReportEventW }"
  else
    echo "FAIL: the event log was given no \"$1...\""
    failures=$((failures + 1))
  fi
}

run "$monitor" &
expect 'The device control could not be created: [^"]*0x80040154"'
run taskkill /f /im "$(basename "$monitor")"
wait

settings='HKLM\Software\CallerIdRelay'
run reg add "$settings" /v DeviceClass /d not-a-class /f
run "$relay" install
run "$relay" start
expect 'The relay service stopped: Not a class identifier: not-a-class'
run "$relay" remove
run reg delete "$settings" /f

((failures == 0)) && exit 0
echo "Wine's error channel had:"
cat "$errors"
exit 1
