#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the benchmark under
# Wine as Windows 98: TandorUtl and the plug-in on the simulated card.
# Prints the figures and writes them as JSON.
# Usage: scripts/bench.sh [json path]   (default: <build>/bench.json)
# BUILD_DIR picks the build folder (default: build). Takes about a minute
# after the build; run it on an otherwise quiet machine: the figures are
# times.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
json=$(realpath -m "${1:-$build/bench.json}")

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"

# The benchmark and its copy run in the first prefix, as outside CTest.
. "$root/scripts/wine-servers.sh"
start_wine_servers "$build" 0
run=$build/wine/wine-run

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
machine="${cpu:-unknown} ($(nproc) cores), $(uname -sr), $("$run" --version)"
# Where 32-bit programs run only through qemu, every figure is emulated.
if grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
  machine+="; 32-bit code through qemu-i386"
fi
machine+="; load averages $(cut -d' ' -f1-3 /proc/loadavg) before the run"
machine+="; $(date '+%F %H:%M')"
mkdir -p "$(dirname "$json")"
"$run" "$build/bin/bench-win98.exe" \
  --json "$("$run" winepath -w "$json" 2>/dev/null | tr -d '\r')" \
  --machine "$machine" </dev/null
