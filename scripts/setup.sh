#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine (as root, or
# with sudo available). Safe to run again.
set -euo pipefail
packages=(cmake ninja-build g++ googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          wine wine64 xvfb)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi
