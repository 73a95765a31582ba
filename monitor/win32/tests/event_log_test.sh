#!/usr/bin/env bash
# Test.exe writes a failure it goes on without to the Windows event log, with its reason. In a
# prefix of its own, where no device control is registered, Test.exe cannot make one; Wine
# shows what the event log is given as errors of its "eventlog" channel.
#   event_log_test.sh BUILD-FOLDER TEST-EXE
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../../scripts/wine-env.sh"
build=$(cd "$1" && pwd)
program=$2

WINE_PREFIX_NAME=wineprefix-bare wine_env "$build" || exit 1
errors=$(mktemp)
trap 'wineserver -k >/dev/null 2>&1; rm -f "$errors"' EXIT
WINEDEBUG=err+eventlog "$(wine_loader)" "$program" </dev/null >/dev/null 2>"$errors" &
for ((wait = 0; wait < 150; ++wait)); do
  grep -q 'err:eventlog' "$errors" && break
  sleep 0.1
done
wineserver -k >/dev/null 2>&1
wait

expected='The device control could not be created: '
if grep 'err:eventlog' "$errors" | grep -qF "$expected"; then
  echo "ok: the event log has: $(grep -m1 'err:eventlog' "$errors" | sed 's/^[0-9a-f]*:err:eventlog:ReportEventW //')"
  exit 0
fi
echo "FAIL: the event log was given no \"$expected...\"; Wine's error channel had:"
cat "$errors"
exit 1
