#!/usr/bin/env bash
# Installs what the build needs on a Debian 12 machine: the mingw-w64
# cross compiler for i686, 32-bit Wine, CMake, GoogleTest's sources and zip.
# Does nothing when everything is already there.
set -euo pipefail

need=()
command -v i686-w64-mingw32-g++ >/dev/null || need+=(g++-mingw-w64-i686)
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686)
command -v cmake >/dev/null || need+=(cmake)
command -v ctest >/dev/null || need+=(cmake)
command -v i686-w64-mingw32-objdump >/dev/null || need+=(binutils-mingw-w64-i686)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
command -v wine >/dev/null || need+=(wine)
[ -x /usr/lib/wine/wine ] || [ -e /usr/lib/i386-linux-gnu/wine ] || need+=(wine32:i386)
command -v make >/dev/null || need+=(make)
# The release ZIP is written by Info-ZIP's zip; its tests read it with zipinfo.
command -v zip >/dev/null || need+=(zip)
command -v zipinfo >/dev/null || need+=(unzip)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi

echo "install-deps: installing ${need[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
  "${need[@]}" >/dev/null
