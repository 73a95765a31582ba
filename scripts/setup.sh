#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, once: both MinGW-w64 cross
# compilers, the Windows Installer tools (wixl, msitools), the 64-bit half of Wine everywhere
# and its 32-bit half wherever i386 packages install. A machine that already has everything
# is left untouched (no apt call at all). Whatever fails says why on the screen.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-tools
  wine wine64 xvfb xauth x11-utils xdotool imagemagick socat python3
  fonts-liberation fonts-dejavu-core locales
  wixl msitools
)
# The 32-bit half of Wine; a machine without the i386 architecture builds and tests 64 bits.
optional_packages=(wine32:i386)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# Runs an apt step quietly; on failure shows what it said and returns its status.
apt_step() {
  local log status=0
  log=$(mktemp)
  DEBIAN_FRONTEND=noninteractive "$@" >"$log" 2>&1 || status=$?
  if ((status)); then
    echo "setup: '$*' failed (exit $status):" >&2
    tail -n 30 "$log" >&2
  fi
  rm -f "$log"
  return "$status"
}

# Where the optional packages would not install, later runs do not try again.
unavailable_mark=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/.optional-packages-unavailable

missing=() missing_optional=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [[ ! -f $unavailable_mark ]]; then
  for p in "${optional_packages[@]}"; do installed "$p" || missing_optional+=("$p"); done
fi

if ((${#missing[@]} + ${#missing_optional[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "setup: missing packages (${missing[*]} ${missing_optional[*]}); run as root to install them" >&2
    ((${#missing[@]} == 0)) || exit 1
  else
    if ((${#missing_optional[@]})) && ! dpkg --print-foreign-architectures | grep -qx i386; then
      dpkg --add-architecture i386 || echo "setup: the i386 architecture cannot be added; 32-bit Wine stays out"
    fi
    echo "setup: installing ${missing[*]} ${missing_optional[*]}"
    apt_step apt-get update -qq
    ((${#missing[@]} == 0)) || apt_step apt-get install -y -qq --no-install-recommends "${missing[@]}"
    if ((${#missing_optional[@]})); then
      if ! apt_step apt-get install -y -qq --no-install-recommends "${missing_optional[@]}"; then
        echo "setup: ${missing_optional[*]} did not install: only 64-bit Windows programs will run here"
        mkdir -p "$(dirname "$unavailable_mark")" && touch "$unavailable_mark"
      fi
    fi
  fi
fi

# The Turkish locale gives Wine the 1254 code page for the code-page tests.
if ! locale -a 2>/dev/null | grep -qi '^tr_TR\.utf8$'; then
  if [[ $(id -u) -eq 0 ]]; then
    sed -i 's/^# *tr_TR.UTF-8 UTF-8/tr_TR.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^tr_TR.UTF-8 UTF-8' /etc/locale.gen || echo 'tr_TR.UTF-8 UTF-8' >>/etc/locale.gen
    apt_step locale-gen tr_TR.UTF-8
  fi
fi
