#!/usr/bin/env bash
# The Windows Installer package of one width under Wine, in a prefix of that width of its own:
# what regsvr32 writes for each server equals what the package writes; a silent install with
# SOURCE, ASDEVICE, STARTUP and RELAY writes the machine-wide source, the device control's
# class and the start-up entry, and installs and starts the relay service; Test.exe starts from
# the Start-menu shortcut's target, beside the settings window's and the licence's; a late-bound
# host of each width creates the legacy control; an upgrade from a lower version keeps the
# settings; removal leaves no service, and the registry and the file tree as they were but for
# the relay's call log (both diffs are printed). The 64-bit package is also shown to refuse
# ASDEVICE=1 over another file's registration, to leave the simulated device out there under
# ADDLOCAL=ALL, and to take with it what the settings window saved elevated: those are the
# same tables in both widths. Where 32-bit programs cannot run, the 32-bit package's tables are
# read with msiinfo instead.
#   installer_test.sh BUILD-FOLDER (the 64-bit build, whose WIN32_BUILD_DIR is the 32-bit one,
#   or the 32-bit build)
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../scripts/wine-env.sh"
build=$(cd "$1" && pwd)
source_dir=$(cd "$here/../.." && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
width=$(windows_width_of "$build")
if [[ $width == win64 ]]; then
  build32=$(sed -n 's/^WIN32_BUILD_DIR:PATH=//p' "$build/CMakeCache.txt")
  loader=$wine_loader64
  msi_options=(-DARCH=x64 -DWIDTH=64)
else
  build32=$build
  loader=$wine_loader32
  msi_options=(-DARCH=x86 -DWIDTH=32)
fi
msi=$build/package/CallerIdMonitor-$version-$width.msi
work=$build/package/installer-test
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
finish() { echo "$failures failed"; exit $((failures > 0)); }
[[ -f $msi ]] || { echo "FAIL: no package $msi"; exit 1; }

# The 32-bit package where 32-bit programs cannot run: its tables only.
if [[ $width == win32 ]] && ! runs_32bit_programs; then
  echo "$(no_32bit_reason): the 32-bit package's tables are read with msiinfo, it is not installed"
  platform=$(msiinfo suminfo "$msi" | sed -n 's/^Template: //p')
  [[ $platform == Intel* ]] && pass "32-bit package for Intel ($platform)" || fail "32-bit package template: $platform"
  rows=$(msiinfo export "$msi" Registry | grep -c 'CLSID\\{999DD9D2-8906-4232-98EF-9EECB9B10DAD}')
  ((rows > 5)) && pass "32-bit package registers the legacy control ($rows rows)" || fail "32-bit package's registry rows"
  msiinfo export "$msi" ServiceInstall | grep -q -P '^RelayService\tCidRelay\t' &&
    pass "32-bit package installs the relay service" || fail "32-bit package's relay service"
  msiinfo export "$msi" Shortcut | grep -q -F 'Arayan numara kaynağı' || fail "32-bit package's settings shortcut"
  if msiinfo export "$msi" Component | awk -F'\t' 'NR > 3 && int($4 / 256) % 2 { bad = 1 } END { exit !bad }'; then
    fail "a 64-bit component in the 32-bit package"
  fi
  finish
fi

rm -rf "$work"
mkdir -p "$work"
# A display of its own: the windows looked for by name below are this prefix's alone.
unset DISPLAY
wine_env "$work" "$width" || exit 1
trap 'wine_stop "$work"' EXIT
win() { "$loader" "$@" 9>&-; }
winpath() { echo "Z:${1//\//\\}"; }

folder='C:\Program Files\CallerIdMonitor'
unix_folder=$WINEPREFIX/drive_c/Program\ Files/CallerIdMonitor

# The registry as text, one "key|value" line each, sorted; keys the system itself changes
# while programs run are left out.
snapshot() {
  local out=$1 hive
  : >"$out.raw"
  for hive in HKLM\\Software HKCU\\Software; do
    win reg export "$hive" "$(winpath "$work/hive.reg")" /y >/dev/null 2>&1
    iconv -f UTF-16LE -t UTF-8 "$work/hive.reg" | tr -d '\r' |
      awk -v hive="${hive%%\\*}" '/^\[/ { key = $0; print hive key; next } NF { print hive key "|" $0 }' >>"$out.raw"
  done
  grep -v -e 'Software\\Wine\\' -e 'Explorer\\' -e 'RunMRU' -e 'MuiCache' -e 'Volatile Environment' \
    -e 'WinTrust' -e 'Cryptography' -e 'Perflib' "$out.raw" |
    grep -v -x -E -e 'HKLM\[HKEY_LOCAL_MACHINE\\Software\\Classes\\Installer(\\Features|\\Products|\\UpgradeCodes)?\]' \
      -e 'HKLM\[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\(UpgradeCodes|UserData(\\S-1-5-18(\\Components|\\Products)?)?)\]' |
    sort >"$out"
}
# The file tree, Start-menu shortcuts included; temporary files are left out, and so is the
# Windows Installer's own folder (every Windows has it).
files() {
  (cd "$WINEPREFIX/drive_c" && find . -path ./windows/temp -prune -o -path '*/AppData/Local/Temp' -prune -o \
    -path ./windows/Installer -prune -o -print) | sort >"$1"
}
# Lines of $2 not in $1 (what was added), restricted to the classes.
added_classes() { comm -13 "$1" "$2" | grep -i 'Software\\Classes' | grep -v -i 'Classes\\Installer' | grep -v -i '\\Installer\\'; }

# Control with an empty default value and a key without one are the same to COM; a type
# library's help folder is a folder with or without its final backslash.
normalise() { sed -e 's/|@=""$//' -e 's/^\(.*\)|@=""$/\1/' -e 's/\(HELPDIR\]|@=".*\)\\\\"$/\1"/' | sort -u; }

# The widths of host that run in this prefix: its own and, in a 64-bit prefix where 32-bit
# programs run, the 32-bit one (WoW64), whose servers the 64-bit package puts in x86.
hosts=(own)
[[ $width == win64 ]] && runs_32bit_programs && hosts+=(wow64)
host_program() { [[ $1 == wow64 ]] && echo "C:\\windows\\syswow64\\$2.exe" || echo "$2"; }
host_folder() { [[ $1 == wow64 ]] && echo "$folder\\x86" || echo "$folder"; }
host_unix_folder() { [[ $1 == wow64 ]] && echo "$unix_folder/x86" || echo "$unix_folder"; }
host_build() { [[ $1 == wow64 ]] && echo "$build32" || echo "$build"; }
host_bits() { [[ $1 == own && $width == win64 ]] && echo 64 || echo 32; }
servers=(tevrin4.dll opencid.dll)
[[ $width == win64 ]] && servers+=(x86/tevrin4.dll x86/opencid.dll)

# Windows Installer's own empty containers are left out above. As on a real machine, something
# else starts with Windows too, so the start-up key outlives the package's entry in it. The
# script hosts register their own type library at their first run: that happens before.
win reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Other /d 'C:\other.exe' /f >/dev/null 2>&1
# So do other 32-bit classes, which a prefix that runs no 32-bit program lacks: without one,
# removal would take the then empty 32-bit class key with it.
win reg add 'HKLM\Software\Classes\Wow6432Node\CLSID\{6F0D3A52-3C1B-4E57-9D2A-1B5E7C0A9F01}' /ve /d Other /f >/dev/null 2>&1
# The relay service listens on any free port: 3333 may be taken on a shared machine.
win reg add 'HKLM\SOFTWARE\CallerIdRelay' /v Port /t REG_DWORD /d 0 /f >/dev/null 2>&1
printf 'WScript.Quit 0\r\n' >"$work/nothing.vbs"
for host in "${hosts[@]}"; do
  timeout 60 "$loader" "$(host_program "$host" cscript)" //Nologo "$(winpath "$work/nothing.vbs")" >/dev/null 2>&1 9>&-
done
snapshot "$work/before"
files "$work/files-before"

# What regsvr32 of each width writes, from the same folders the package installs to.
regsvr() { win "$@" >/dev/null 2>&1; }
for host in "${hosts[@]}"; do
  mkdir -p "$(host_unix_folder "$host")"
  cp "$(host_build "$host")/legacy/tevrin4.dll" "$(host_build "$host")/opencid/win32/opencid.dll" "$(host_unix_folder "$host")/"
  regsvr "$(host_program "$host" regsvr32)" /s "$(host_folder "$host")\\tevrin4.dll"
  regsvr "$(host_program "$host" regsvr32)" /s /n /i:as-device "$(host_folder "$host")\\opencid.dll"
done
snapshot "$work/regsvr32"
added_classes "$work/before" "$work/regsvr32" | normalise >"$work/regsvr32.classes"
for host in "${hosts[@]}"; do
  regsvr "$(host_program "$host" regsvr32)" /s /u "$(host_folder "$host")\\tevrin4.dll"
  regsvr "$(host_program "$host" regsvr32)" /s /u /n /i:"" "$(host_folder "$host")\\opencid.dll"
done
rm -rf "$unix_folder"
[[ -s $work/regsvr32.classes ]] || fail "regsvr32 wrote nothing"

# A lower version first, with every public property; then this version without any.
older=$work/CallerIdMonitor-0.9.0-$width.msi
cmake -DWIXL="$(command -v wixl)" -DMSIBUILD="$(command -v msibuild)" -DMSIINFO="$(command -v msiinfo)" "${msi_options[@]}" -DVERSION=0.9.0 \
  -DBIN="$build" -DBIN32="$build32" -DREGISTRY="$build/package/registry" -DSOURCE="$source_dir" -DOUTPUT="$older" \
  -P "$source_dir/packaging/MakeInstaller.cmake" >/dev/null 2>&1 || fail "the lower version's package was not built"
timeout 300 "$loader" msiexec /i "$(winpath "$older")" /qn 'SOURCE=ncid=192.168.1.10:3333' ASDEVICE=1 STARTUP=1 RELAY=1 \
  >/dev/null 2>&1 || fail "silent install of 0.9.0 with SOURCE, ASDEVICE, STARTUP and RELAY"
timeout 300 "$loader" msiexec /i "$(winpath "$msi")" /qn >/dev/null 2>&1 || fail "silent upgrade to $version"
snapshot "$work/installed"
added_classes "$work/before" "$work/installed" | normalise >"$work/installed.classes"
registered=$work/regsvr32.classes compared=$work/installed.classes
if [[ $width == win64 && ${#hosts[@]} == 1 ]]; then
  # Only 64-bit regsvr32 ran: the 64-bit view alone is compared. The type library's key is
  # shared by both widths; its 32-bit entry and its help folder are the 32-bit server's.
  only64() { grep -v -i -e 'Wow6432Node' -e '\\win32\]' -e 'HELPDIR\]|' "$1" >"${1%.classes}-64.classes"; }
  only64 "$registered"; registered=$work/regsvr32-64.classes
  only64 "$compared"; compared=$work/installed-64.classes
fi
regsvr_widths=$(for host in "${hosts[@]}"; do echo -n " $(host_bits "$host")-bit"; done)
if diff -u "$registered" "$compared" >"$work/classes.diff"; then
  pass "the package's class registration equals regsvr32's ($(wc -l <"$registered") lines; regsvr32:$regsvr_widths)"
else
  fail "the package's class registration differs from regsvr32's:"; cat "$work/classes.diff"
fi
grep -q 'Software\\OpenCallerId\]|"Source"="ncid=192.168.1.10:3333"' "$work/installed" &&
  pass "SOURCE written as the machine-wide source and kept by the upgrade" || fail "machine-wide source"
grep -q 'CurrentVersion\\Run\]|"CallerIdMonitor"="\\"C:\\\\Program Files\\\\CallerIdMonitor\\\\Test.exe\\""' "$work/installed" &&
  pass "STARTUP=1 starts Test.exe with Windows, kept by the upgrade" || fail "start with Windows"
grep -q -i 'Classes\\CLSID\\{EEA18052-171F-4293-8598-AB6E1D7257B2}\\InprocServer32\]|@=".*opencid.dll"' "$work/installed" &&
  pass "ASDEVICE=1 puts opencid.dll in the device control's place, kept by the upgrade" || fail "as-device"
relay_key='HKLM\System\CurrentControlSet\Services\CidRelay'
win reg query "$relay_key" /v ImagePath 2>/dev/null | grep -q -E 'C:\\Program Files\\CallerIdMonitor\\cidrelay\.exe"? service' &&
  pass "RELAY=1 installs the relay service, kept by the upgrade" || fail "no relay service after the upgrade"
win reg query 'HKLM\System\CurrentControlSet\Services\EventLog\Application\CidRelay' /v TypesSupported >/dev/null 2>&1 ||
  fail "no event source for the relay service"
win sc query CidRelay 2>/dev/null | grep -q 'RUNNING' && pass "the relay service runs after installation" ||
  fail "the relay service is not running: $(win sc query CidRelay 2>&1 | tr -s ' \r\n' ' ')"
# "Apps and features" names the licence, the installed folder and its text for Windows users.
for arp in '"Comments"="MIT License: see LICENSE.txt' '"Readme"="C:\\Program Files\\CallerIdMonitor\\README-Windows.txt"' \
           '"InstallLocation"="C:\\Program Files\\CallerIdMonitor\\"'; do
  grep -q -i -F "$arp" "$work/installed" || fail "Apps and features lacks $arp"
done
products=$(grep -c -i 'Installer\\UserData\\S-1-5-18\\Products\\[0-9A-F]*\\InstallProperties\]$' "$work/installed")
[[ $products == 1 ]] && pass "one product installed after the upgrade" || fail "$products products installed after the upgrade"
for file in Test.exe sourcesettings.exe cidrelay.exe "${servers[@]}" LICENSE.txt README-Windows.txt; do
  [[ -f $unix_folder/$file ]] || fail "$file not installed"
done
[[ ! -e $unix_folder/devsim.dll ]] && pass "the simulated device is off by default" || fail "devsim.dll installed by default"

# Start-menu shortcuts: the monitor's target starts it, whose window ("TEST") shows, and the
# settings window's starts that window; the licence's is beside them.
# starts_from_shortcut LINK WINDOW-NAME PROGRAM
starts_from_shortcut() {
  timeout 30 "$loader" start /unix "$1" </dev/null >/dev/null 2>&1 9>&- &
  local started=no
  for _ in $(seq 40); do
    xdotool search --name "$2" >/dev/null 2>&1 && { started=yes; break; }
    sleep 0.5
  done
  [[ $started == yes ]] && pass "$3 starts from its Start-menu shortcut" || fail "$3 did not start from its shortcut"
  timeout 20 "$loader" taskkill /f /im "$3" >/dev/null 2>&1 9>&-
  wait
}
link=$(find "$WINEPREFIX/drive_c" -path '*Caller-ID line monitor/Caller-ID line monitor.lnk' | head -1)
[[ -n $link ]] && pass "Start-menu shortcut ${link#$WINEPREFIX/drive_c/}" || fail "no Start-menu shortcut"
if [[ -n $link ]]; then
  [[ -f ${link%/*}/Licence.lnk ]] || fail "no Start-menu shortcut \"Licence\""
  starts_from_shortcut "$link" '^TEST$' Test.exe
  starts_from_shortcut "${link%/*}/Arayan numara kaynağı.lnk" '^Arayan numara kaynağı$' sourcesettings.exe
fi

# Every program's version record says this version; tevrin4.dll keeps the legacy product's.
names=$(echo Test.exe sourcesettings.exe cidrelay.exe "${servers[@]//\//\\}")
printf '%s\r\n' 'Set fso = CreateObject("Scripting.FileSystemObject")' \
  "For Each name In Split(\"$names\")" \
  '  WScript.Echo name & "=" & fso.GetFileVersion("C:\Program Files\CallerIdMonitor\" & name)' 'Next' >"$work/versions.vbs"
versions=$(timeout 60 "$loader" cscript //Nologo "$(winpath "$work/versions.vbs")" 2>/dev/null 9>&- | tr -d '\r' | tr '\n' ' ')
expected=
for name in $names; do
  [[ $name == *tevrin4.dll ]] && expected+="$name=4.5.0.0 " || expected+="$name=$version.0 "
done
[[ $versions == "$expected" ]] && pass "version records: $versions" || fail "version records: $versions (expected $expected)"

# A late-bound host of each width creates the legacy control (on opencid.dll as the device).
printf 'Set k = CreateObject("Upgrade_v4.KalloraPlus")\r\nWScript.Quit 7\r\n' >"$work/late.vbs"
for host in "${hosts[@]}"; do
  timeout 60 "$loader" "$(host_program "$host" cscript)" //Nologo "$(winpath "$work/late.vbs")" >/dev/null 2>&1 9>&-
  [[ $? == 7 ]] && pass "a $(host_bits "$host")-bit late-bound host creates the legacy control" ||
    fail "late-bound host ($(host_bits "$host")-bit)"
done

# Removal: no service, the registry and the file tree as before the install; the relay's call
# log is the site's record of its calls and stays.
timeout 300 "$loader" msiexec /x "$(winpath "$msi")" /qn /l*v "$(winpath "$work/removal.log")" >/dev/null 2>&1 ||
  fail "silent removal"
if win reg query "$relay_key" >/dev/null 2>&1 ||
   win reg query 'HKLM\System\CurrentControlSet\Services\EventLog\Application\CidRelay' >/dev/null 2>&1; then
  fail "the relay service or its event source outlives the removal"
else
  pass "no relay service or event source after removal"
fi
snapshot "$work/removed"
files "$work/files-removed"
echo "registry after removal against before the install:"
if diff "$work/before" "$work/removed"; then pass "registry as before"; else fail "registry differs"; fi
echo "file tree after removal against before the install:"
diff "$work/files-before" "$work/files-removed"
if { diff "$work/files-before" "$work/files-removed"; true; } | grep '^[<>]' |
    grep -v -x -E '> \./ProgramData/CallerIdRelay(/cidcall\.log)?'; then
  fail "file tree differs"
else
  pass "file tree as before, but for the relay's call log"
fi

# What follows shows the tables' own logic, the same in both widths: once, with the 64-bit package.
[[ $width == win64 ]] || finish

# While another file holds the device control's class, ASDEVICE=1 is refused and installs
# nothing.
foreign='HKCR\CLSID\{EEA18052-171F-4293-8598-AB6E1D7257B2}'
win reg add "$foreign\\InprocServer32" /ve /d 'C:\Vendor\tevrin5.ocx' /f >/dev/null 2>&1
timeout 300 "$loader" msiexec /i "$(winpath "$msi")" /qn ASDEVICE=1 >/dev/null 2>&1 9>&- &&
  fail "ASDEVICE=1 accepted over another file's registration" || pass "ASDEVICE=1 refused over another file's registration"
[[ ! -e $unix_folder/Test.exe ]] || fail "the refused installation left files"

# Every feature asked for: the simulated device is left out while another file holds the class,
# whose registration outlives the package; where the class is free, the simulated device
# installs and leaves with the package.
device_server() { win reg query "$foreign\\InprocServer32" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
timeout 300 "$loader" msiexec /i "$(winpath "$msi")" /qn ADDLOCAL=ALL >/dev/null 2>&1 9>&- ||
  fail "ADDLOCAL=ALL beside another file's registration"
[[ -f $unix_folder/Test.exe && ! -e $unix_folder/devsim.dll ]] &&
  pass "ADDLOCAL=ALL installs all but the simulated device beside another file's registration" ||
  fail "ADDLOCAL=ALL beside another file's registration: $(ls "$unix_folder" 2>&1 | tr '\n' ' ')"
timeout 300 "$loader" msiexec /x "$(winpath "$msi")" /qn >/dev/null 2>&1 9>&-
[[ $(device_server) == 'C:\Vendor\tevrin5.ocx' ]] && pass "the other file's registration outlives install and removal" ||
  fail "the other file's registration became \"$(device_server)\""
win reg delete "$foreign" /f >/dev/null 2>&1
timeout 300 "$loader" msiexec /i "$(winpath "$msi")" /qn ADDLOCAL=SimulatedDeviceFeature >/dev/null 2>&1 9>&-
[[ -f $unix_folder/devctl.exe && $(device_server) == *devsim.dll ]] &&
  pass "the simulated device installs where the class is free" || fail "simulated device: \"$(device_server)\""
timeout 300 "$loader" msiexec /x "$(winpath "$msi")" /qn >/dev/null 2>&1 9>&-
[[ -z $(device_server) && ! -e $unix_folder ]] && pass "the simulated device leaves with the package" ||
  fail "the simulated device's registration or files outlive the package"

# What the source settings window saves when elevated (through opencid.dll's own registration,
# as regsvr32 does here) leaves with the package too.
timeout 300 "$loader" msiexec /i "$(winpath "$msi")" /qn >/dev/null 2>&1 9>&-
win regsvr32 /s /n '/i:ncid=192.0.2.1:3333,as-device' "$folder\\opencid.dll" >/dev/null 2>&1
[[ $(device_server) == *opencid.dll ]] || fail "opencid.dll did not take the device control's place"
timeout 300 "$loader" msiexec /x "$(winpath "$msi")" /qn >/dev/null 2>&1 9>&-
if [[ -z $(device_server) ]] && ! win reg query 'HKLM\Software\OpenCallerId' >/dev/null 2>&1; then
  pass "the machine-wide source and device control's place saved after installation leave with the package"
else
  fail "the settings saved after installation outlive the package"
fi

finish
