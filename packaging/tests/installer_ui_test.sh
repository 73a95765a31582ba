#!/usr/bin/env bash
# The 64-bit package's full user interface under Wine, in a prefix of its own, driven with the
# mouse as a user would: the licence dialog's "Kur" is greyed and does nothing until the licence
# is accepted, "İptal" ends without installing; accepting installs the programs and a closing
# dialog says so; a second run on the installed package goes straight to the closing dialog,
# without the licence. The package is then removed silently. Screenshots of the licence and
# closing dialogs are left in the work folder to look at.
#   installer_ui_test.sh BUILD-FOLDER (the 64-bit build)
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../scripts/wine-env.sh"
build=$(cd "$1" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
msi=$build/package/CallerIdMonitor-$version-win64.msi
work=$build/package/installer-ui-test
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

rm -rf "$work"
mkdir -p "$work"
wine_env "$work" win64 || exit 1
trap 'wine_stop "$work"' EXIT
program=$WINEPREFIX/drive_c/Program\ Files/CallerIdMonitor/Test.exe
title=Kurulumu

msiexec_pid=
start_msiexec() {
  timeout 120 "$wine_loader64" msiexec "$@" >/dev/null 2>&1 9>&- &
  msiexec_pid=$!
}
# The exit status of the msiexec started last.
msiexec_status() { wait "$msiexec_pid"; }

# Dialogs are told apart by their shape (height to width, in thousandths, frame included):
# the licence is tall, the closing dialogs are wider than high, the progress bar's flatter.
shape_of() {
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo $((HEIGHT * 1000 / WIDTH))
}
# wait_dialog licence|closing: the window of that dialog, once it shows (within 30 s).
wait_dialog() {
  local kind=$1 window shape i
  for ((i = 0; i < 120; i++)); do
    for window in $(xdotool search --onlyvisible --name "$title" 2>/dev/null); do
      shape=$(shape_of "$window")
      if { [[ $kind == licence ]] && ((shape > 600)); } || { [[ $kind == closing ]] && ((shape > 390 && shape <= 600)); }; then
        sleep 0.5
        echo "$window"
        return
      fi
    done
    sleep 0.25
  done
  return 1
}
# click WINDOW DIALOG-WIDTH left|right FROM-SIDE FROM-BOTTOM: a click at a point given in the
# dialog's own units from its lower corner, scaled by the window's width (the frame is thin).
click() {
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  local scale=$((WIDTH * 1000 / $2)) x
  if [[ $3 == left ]]; then x=$((X + $4 * scale / 1000)); else x=$((X + WIDTH - $4 * scale / 1000)); fi
  xdotool mousemove "$x" $((Y + HEIGHT - $5 * scale / 1000)) click 1
  sleep 0.5
}
# The licence dialog (330 units wide) and the closing ones (300).
click_install() { click "$1" 330 right 108 20; }
click_cancel() { click "$1" 330 right 43 20; }
click_accept() { click "$1" 330 left 20 53; }
click_close() { click "$1" 300 right 43 20; }
# How dark the darkest pixel of "Kur"'s label is, in percent: a disabled button's label is grey.
install_label_darkness() {
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  local scale=$((WIDTH * 1000 / 330))
  local left=$((X + WIDTH - 122 * scale / 1000)) top=$((Y + HEIGHT - 24 * scale / 1000))
  import -window root "$work/screen.png" 2>/dev/null
  # ImageMagick reads no expression in the Turkish locale the prefix runs in.
  LC_ALL=C convert "$work/screen.png" -crop "$((28 * scale / 1000))x$((9 * scale / 1000))+$left+$top" \
    -format "%[fx:100 - round(100 * minima.intensity)]" info:- 2>/dev/null
}
screenshot() {
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" "$work/$2.png" 2>/dev/null
  echo "screenshot: $work/$2.png"
}

# "Kur" is disabled before the licence is accepted; "İptal" ends without installing.
start_msiexec /i "Z:${msi//\//\\}"
if licence=$(wait_dialog licence); then
  screenshot "$licence" licence
  darkness=$(install_label_darkness "$licence")
  [[ $darkness =~ ^[0-9]+$ ]] && ((darkness < 75)) && pass "Kur is greyed before the licence is accepted (label $darkness % dark)" ||
    fail "Kur is not greyed before the licence is accepted (label $darkness % dark)"
  click_install "$licence"
  [[ -n $(xdotool search --onlyvisible --name "$title" 2>/dev/null | grep -x "$licence") && ! -e $program ]] &&
    pass "Kur does nothing before the licence is accepted" || fail "Kur went on without the licence accepted"
  click_cancel "$licence"
  if closing=$(wait_dialog closing); then
    screenshot "$closing" cancelled
    click_close "$closing"
  else
    fail "no closing dialog after İptal"
  fi
else
  fail "no licence dialog"
fi
msiexec_status
status=$?
# 1602, the user's cancel, of which an exit status keeps the low byte.
[[ $status == $((1602 % 256)) && ! -e $program ]] && pass "İptal ends without installing (status 1602)" ||
  fail "after İptal msiexec ended with status $status, Test.exe installed: $([[ -e $program ]] && echo yes || echo no)"

# Accepted, "Kur" installs, and the closing dialog says so.
start_msiexec /i "Z:${msi//\//\\}"
if licence=$(wait_dialog licence); then
  click_accept "$licence"
  darkness=$(install_label_darkness "$licence")
  [[ $darkness =~ ^[0-9]+$ ]] && ((darkness >= 75)) && pass "accepting the licence enables Kur (label $darkness % dark)" ||
    fail "Kur stays greyed once the licence is accepted (label $darkness % dark)"
  click_install "$licence"
  if closing=$(wait_dialog closing); then
    screenshot "$closing" installed
    click_close "$closing"
  else
    fail "no closing dialog after the installation"
  fi
else
  fail "no licence dialog for the installation"
fi
msiexec_status
status=$?
[[ $status == 0 && -e $program ]] && pass "with the licence accepted, Kur installs Test.exe" ||
  fail "the installation ended with status $status, Test.exe installed: $([[ -e $program ]] && echo yes || echo no)"

# Installed already: no licence, straight to the closing dialog.
start_msiexec /i "Z:${msi//\//\\}"
if closing=$(wait_dialog closing); then
  click_close "$closing"
  msiexec_status
  status=$?
  [[ $status == 0 ]] && pass "the installed package's run skips the licence" ||
    fail "the installed package's run ended with status $status"
else
  kill "$msiexec_pid" 2>/dev/null
  fail "the installed package's run showed no closing dialog"
fi

timeout 120 "$wine_loader64" msiexec /x "Z:${msi//\//\\}" /qn >/dev/null 2>&1 9>&-
[[ ! -e $program ]] && pass "removed silently" || fail "Test.exe is still there after a silent removal"

echo "$failures failure(s)"
((failures == 0))
