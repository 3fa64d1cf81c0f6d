#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite
# under Wine. Usage: scripts/test.sh [extra ctest arguments]
# BUILD_DIR picks the build folder (default: build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"

# One Wine server per prefix stays up for the whole run, so that each test
# program starts in a fraction of a second. Wine's own background programs
# start with the first program; starting them here, detached from CTest's
# output pipes, keeps CTest from waiting on pipes that they hold open.
servers=("$build"/wine/prefix*)
stop_servers() {
  for prefix in "${servers[@]}"; do WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; done
}
trap stop_servers EXIT
for prefix in "${servers[@]}"; do
  WINEPREFIX=$prefix wineserver -p </dev/null >/dev/null 2>&1
  CTEST_RESOURCE_GROUP_0_WINE="id:${prefix##*prefix},slots:1" \
    "$build/wine/wine-run" cmd /c exit </dev/null >/dev/null 2>&1 || true
done

ctest --test-dir "$build" -j"$(nproc)" \
  --resource-spec-file "$build/wine/resources.json" \
  --output-on-failure --timeout 300 "$@"
