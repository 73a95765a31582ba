#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, once.
# A machine that already has everything is left untouched (no apt call at all).
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  mingw-w64-tools
  wine wine32 xvfb xauth x11-utils xdotool imagemagick
  fonts-liberation fonts-dejavu-core locales
)

missing=()
for p in "${packages[@]}"; do
  arch_pkg=$p
  [[ $p == wine32 ]] && arch_pkg=wine32:i386
  dpkg-query -W -f='${Status}' "$arch_pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$arch_pkg")
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "setup: missing packages (${missing[*]}); run as root to install them" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Turkish locale gives Wine the 1254 code page for the code-page tests.
if ! locale -a 2>/dev/null | grep -qi '^tr_TR\.utf8$'; then
  if [[ $(id -u) -eq 0 ]]; then
    sed -i 's/^# *tr_TR.UTF-8 UTF-8/tr_TR.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^tr_TR.UTF-8 UTF-8' /etc/locale.gen || echo 'tr_TR.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen tr_TR.UTF-8 >/dev/null
  fi
fi
