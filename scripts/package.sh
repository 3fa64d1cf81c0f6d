#!/usr/bin/env bash
# Builds the release ZIP for Windows users: tandor.dll, TandorUtl.dll,
# tandorcheck.exe, the sample mirabo.ini and the user guide, with SHA256SUMS
# beside it. The same commit gives the same bytes wherever and whenever it is
# built (cmake/PackRelease.cmake.in says how). Prints the two files' paths.
# BUILD_DIR picks the build folder (default: build-release).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-release}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTANDOR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target TandorUtl tandor tandorcheck >/dev/null
cmake -P "$build/PackRelease.cmake" >/dev/null
ls "$build"/package/*.zip "$build"/package/SHA256SUMS
