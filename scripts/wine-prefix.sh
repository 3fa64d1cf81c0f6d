#!/usr/bin/env bash
# Creates (once) and configures the build tree's Wine prefixes:
#   wine-prefix.sh <wine-dir> <slots> <settings.reg>
# Each prefix is booted, switched to the null graphics driver and the other
# settings in settings.reg, and warmed with one program run, because the
# first program of a new prefix may fail to create windows.
set -euo pipefail
dir=$1 slots=$2 reg=$3
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

prepare() {
  export WINEPREFIX="$dir/prefix$1"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
  wineserver -w
  wine cmd /c exit >/dev/null 2>&1 || true
  wineserver -w
}

for ((slot = 0; slot < slots; slot++)); do
  prepare "$slot" &
done
wait
# A prefix that Wine could not boot would otherwise show only as every test
# of its slot failing.
for ((slot = 0; slot < slots; slot++)); do
  if [ ! -f "$dir/prefix$slot/system.reg" ]; then
    echo "wine-prefix: Wine could not set up $dir/prefix$slot" >&2
    exit 1
  fi
done
