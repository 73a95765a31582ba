# Sourced: sets up Wine for one build folder: the private prefix (created once, under a lock),
# quiet debug output, no installer dialogs, the Turkish locale, a persistent wineserver and,
# when DISPLAY is unset, a virtual X display shared by every program of the run.
#
# Debian's `wine` launcher always starts the 32-bit loader when wine32 is installed, and some
# kernels refuse every 32-bit program: the `wine` function below starts the loader that fits the
# prefix instead, and runs_32bit_programs tells whether 32-bit Windows programs can run at all.

wine_loader32=/usr/lib/wine/wine
wine_loader64=/usr/lib/wine/wine64

# Answers once per shell; WINE_32BIT=yes|no forces the answer (to try the other path).
runs_32bit_programs() {
  if [[ -z ${WINE_32BIT:-} ]]; then
    WINE_32BIT=no
    [[ -x $wine_loader32 ]] && "$wine_loader32" --version >/dev/null 2>&1 && WINE_32BIT=yes
    export WINE_32BIT
  fi
  [[ $WINE_32BIT == yes ]]
}

# Why 32-bit programs do not run here, in one plain line.
no_32bit_reason() {
  if [[ ! -x $wine_loader32 ]]; then
    echo "this machine has no 32-bit Wine (wine32:i386 is not installed)"
  elif ! "$wine_loader32" --version >/dev/null 2>&1; then
    echo "this machine runs no 32-bit programs (the kernel refuses them)"
  else
    echo "32-bit programs are switched off for this run (WINE_32BIT=no)"
  fi
}

# The Wine loader of the current prefix: 64-bit prefixes also start 32-bit programs (WoW64)
# where the kernel allows it.
wine_loader() {
  if [[ ${WINEARCH:-win32} == win64 ]]; then echo "$wine_loader64"; else echo "$wine_loader32"; fi
}
wine() { "$(wine_loader)" "$@"; }

# win32 or win64: the width of the Windows build configured in a build folder.
windows_width_of() {
  grep -q '^CMAKE_TOOLCHAIN_FILE:.*x86_64' "$1/CMakeCache.txt" 2>/dev/null && echo win64 || echo win32
}

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
wine_prefix_version=4

create_prefix() {
  local prefix=$1
  [[ $(cat "$prefix/.ready" 2>/dev/null) == "$wine_prefix_version" ]] && return
  rm -rf "$prefix"
  local log
  log=$(mktemp)
  if ! wine wineboot --init >"$log" 2>&1 9>&-; then
    echo "wine: creating the prefix $prefix failed; wineboot said:" >&2
    cat "$log" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
  # Map the system's font names to fonts that exist here, with Turkish glyphs. A program that
  # crashes prints its backtrace and ends, instead of waiting on a crash dialog nobody sees.
  # No window manager runs on the displays these prefixes draw on: with Wine's windows left
  # unmanaged, hiding or destroying one no longer waits 2 s for a window manager's answer
  # that never comes (it halves the Windows tests' time).
  local reg
  reg=$(mktemp --suffix=.reg)
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
    '"MS Sans Serif"="Liberation Sans"' '"Arial"="Liberation Sans"' \
    '"Arial Narrow"="Liberation Sans Narrow"' '"Tahoma"="Liberation Sans"' \
    '"MS Shell Dlg"="Liberation Sans"' '"MS Shell Dlg 2"="Liberation Sans"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' >"$reg"
  wine regedit /S "$(wine winepath -w "$reg" 2>/dev/null 9>&-)" >/dev/null 2>&1 9>&- ||
    { echo "wine: writing the prefix settings failed" >&2; return 1; }
  rm -f "$reg"
  wineserver -w 9>&-
  echo "$wine_prefix_version" >"$prefix/.ready"
}

# wine_env BUILD [win32|win64]: the width defaults to that of the build folder's configuration.
# WINE_PREFIX_NAME names another prefix in the build folder, with a wineserver of its own, for
# a test that needs two machines' registrations at once.
wine_env() {
  local build=$1
  export WINEPREFIX=$build/${WINE_PREFIX_NAME:-wineprefix} WINEARCH=${2:-$(windows_width_of "$build")}
  export WINEDEBUG=${WINEDEBUG:--all}
  # Tests of both widths read the answer (WINE_32BIT) to know whether 32-bit programs run.
  if ! runs_32bit_programs && [[ $WINEARCH == win32 ]]; then
    echo "wine: $(no_32bit_reason): the 32-bit prefix of $build cannot start" >&2
    return 1
  fi
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  export LC_ALL=${WINE_LOCALE:-tr_TR.UTF-8}
  # Whatever starts under the lock must not inherit it (9>&-), or the lock outlives us.
  {
    flock 9
    [[ -n ${DISPLAY:-} ]] || export DISPLAY=$(start_virtual_display "$build")
    create_prefix "$WINEPREFIX" || return 1
    wineserver -p >/dev/null 2>&1 9>&- || true
  } 9>"$build/.wine.lock"
}

# Ends what wine_env started for the build folder: the wineserver and our virtual display.
wine_stop() {
  local build=$1 display pid
  local prefix
  for prefix in "$build"/wineprefix "$build"/wineprefix-*; do
    [[ -d $prefix ]] && WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  done
  if [[ -f $build/.xvfb ]]; then
    read -r display pid <"$build/.xvfb"
    kill "$pid" 2>/dev/null || true
    rm -f "$build/.xvfb"
  fi
}
