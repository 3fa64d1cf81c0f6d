#!/usr/bin/env bash
# Builds the release ZIP for Windows users: tandor.dll, TandorUtl.dll,
# tandorcheck.exe, the sample mirabo.ini and the user guide. Prints the ZIP's
# path.
# BUILD_DIR picks the build folder (default: build-release).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-release}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTANDOR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target TandorUtl tandor tandorcheck >/dev/null
(cd "$build" && cpack -G ZIP --config CPackConfig.cmake >/dev/null)
ls "$build"/package/*.zip
