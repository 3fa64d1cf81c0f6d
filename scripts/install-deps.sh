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

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi

# A mirror caught in the middle of a sync serves an index that does not
# match its Release file ("Mirror sync in progress?"): try again a little
# later, and go on with what could be had; the install says whether it was
# enough.
apt_update() {
  local try
  for try in 1 2 3; do
    $SUDO apt-get update -qq && return 0
    echo "install-deps: apt-get update failed (try $try of 3)" >&2
    [ "$try" -lt 3 ] && sleep $((try * 15))
  done
  echo "install-deps: going on with the package lists as they are" >&2
}

if [ ${#need[@]} -ne 0 ]; then
  echo "install-deps: installing ${need[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  apt_update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${need[@]}" >/dev/null
fi

# Some virtual machines run 64-bit user code only: the kernel refuses to
# execute Wine's 32-bit loader ("Exec format error"). There the kernel is
# told to hand i386 programs to qemu's user-mode emulator (binfmt_misc).
# Bookworm's own qemu 7.2 lacks MAP_FIXED_NOREPLACE, which turns Wine's
# address-space reservation into a scan of about a minute per process; the
# backport does not.
wine_loader=/usr/lib/wine/wine
if ! "$wine_loader" --version >/dev/null 2>&1; then
  binfmt=/proc/sys/fs/binfmt_misc
  rule=/usr/share/qemu/binfmt.d/qemu-i386.conf
  if [ ! -f "$rule" ] || ! dpkg --compare-versions \
      "$(dpkg-query -W -f '${Version}' qemu-user 2>/dev/null || echo 0)" ge 1:8.1; then
    echo "install-deps: this machine runs no 32-bit code; installing qemu's i386 emulator"
    echo "deb http://deb.debian.org/debian bookworm-backports main" |
      $SUDO tee /etc/apt/sources.list.d/bookworm-backports.list >/dev/null
    apt_update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
      -t bookworm-backports qemu-user >/dev/null
  fi
  [ -f "$binfmt/register" ] || $SUDO mount -t binfmt_misc binfmt_misc "$binfmt"
  [ -e "$binfmt/qemu-i386" ] && echo -1 | $SUDO tee "$binfmt/qemu-i386" >/dev/null
  $SUDO tee "$binfmt/register" <"$rule" >/dev/null
  if ! "$wine_loader" --version >/dev/null 2>&1; then
    echo "install-deps: Wine's 32-bit loader does not run on this machine" >&2
    exit 1
  fi
fi
