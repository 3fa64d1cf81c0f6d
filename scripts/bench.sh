#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the benchmark under
# Wine as Windows 98: TandorUtl and the plug-in on the simulated card.
# Prints the figures and writes them as JSON.
# Usage: scripts/bench.sh [json path]   (default: <build>/bench.json)
# BUILD_DIR picks the build folder (default: build). Takes about 2 minutes;
# run it on an otherwise quiet machine, the figures are times.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
json=$(realpath -m "${1:-$build/bench.json}")

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"

# One Wine server stays up for the whole run (the first prefix's, which
# wine-run uses outside CTest), so that the benchmark's second program
# starts in a fraction of a second.
run=$build/wine/wine-run
prefix=$build/wine/prefix0
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null || true' EXIT
WINEPREFIX=$prefix wineserver -p </dev/null >/dev/null 2>&1
"$run" cmd /c exit </dev/null >/dev/null 2>&1 || true

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
load=$(cut -d' ' -f1-3 /proc/loadavg)
mkdir -p "$(dirname "$json")"
"$run" "$build/bin/bench-win98.exe" \
  --json "$("$run" winepath -w "$json" 2>/dev/null | tr -d '\r')" \
  --cpu "${cpu:-unknown} ($(nproc) cores)" --load "$load" </dev/null
