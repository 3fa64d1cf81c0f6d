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

# Wine servers up for the whole run, detached from CTest's output pipes.
. "$root/scripts/wine-servers.sh"
start_wine_servers "$build"

ctest --test-dir "$build" -j"$(nproc)" \
  --resource-spec-file "$build/wine/resources.json" \
  --output-on-failure --timeout 300 "$@"
