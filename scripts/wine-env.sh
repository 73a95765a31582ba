# Sourced: sets up Wine for one build folder: the private prefix (created once, under a lock),
# quiet debug output, no installer dialogs, the Turkish locale, a persistent wineserver and,
# when DISPLAY is unset, a virtual X display shared by every program of the run.

build_dir_of() {
  local dir
  dir=$(cd "$(dirname "$1")" && pwd)
  while [[ $dir != / && ! -f $dir/CMakeCache.txt ]]; do dir=$(dirname "$dir"); done
  [[ -f $dir/CMakeCache.txt ]] || { echo "wine: no build folder above $1" >&2; return 1; }
  echo "$dir"
}

# Starts Xvfb for the build folder unless one of ours is already running; prints its display.
start_virtual_display() {
  local state=$1/.xvfb pid display
  if [[ -f $state ]]; then
    read -r display pid <"$state"
    if kill -0 "$pid" 2>/dev/null; then echo "$display"; return; fi
  fi
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 9>&- &
  pid=$!
  disown "$pid"
  read -r display <"$fifo"
  rm -f "$fifo"
  echo ":$display $pid" >"$state"
  echo ":$display"
}

# Bump when create_prefix changes, so existing prefixes are made again.
wine_prefix_version=2

create_prefix() {
  local prefix=$1
  [[ $(cat "$prefix/.ready" 2>/dev/null) == "$wine_prefix_version" ]] && return
  rm -rf "$prefix"
  wineboot --init >/dev/null 2>&1 9>&-
  # Map the system's font names to fonts that exist here, with Turkish glyphs. A program that
  # crashes prints its backtrace and ends, instead of waiting on a crash dialog nobody sees.
  local reg
  reg=$(mktemp --suffix=.reg)
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
    '"MS Sans Serif"="Liberation Sans"' '"Arial"="Liberation Sans"' \
    '"Arial Narrow"="Liberation Sans Narrow"' '"Tahoma"="Liberation Sans"' \
    '"MS Shell Dlg"="Liberation Sans"' '"MS Shell Dlg 2"="Liberation Sans"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' >"$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null 9>&-)" >/dev/null 2>&1 9>&-
  rm -f "$reg"
  wineserver -w 9>&-
  echo "$wine_prefix_version" >"$prefix/.ready"
}

wine_env() {
  local build=$1
  export WINEPREFIX=$build/wineprefix WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  export LC_ALL=${WINE_LOCALE:-tr_TR.UTF-8}
  # Whatever starts under the lock must not inherit it (9>&-), or the lock outlives us.
  {
    flock 9
    [[ -n ${DISPLAY:-} ]] || export DISPLAY=$(start_virtual_display "$build")
    create_prefix "$WINEPREFIX"
    wineserver -p >/dev/null 2>&1 9>&- || true
  } 9>"$build/.wine.lock"
}

# Ends what wine_env started for the build folder: the wineserver and our virtual display.
wine_stop() {
  local build=$1 display pid
  [[ -d $build/wineprefix ]] && WINEPREFIX=$build/wineprefix wineserver -k >/dev/null 2>&1 || true
  if [[ -f $build/.xvfb ]]; then
    read -r display pid <"$build/.xvfb"
    kill "$pid" 2>/dev/null || true
    rm -f "$build/.xvfb"
  fi
}
