#!/usr/bin/env bash
# Builds the release ZIP from a configured and built tree, as
# scripts/package.sh does, unpacks it and checks that it holds exactly the
# files that users get:
#   unpack-release.sh <cpack> <cmake> <build-dir> <out-dir> <file>...
# The unpacked files land in <out-dir>/zip.
set -euo pipefail
cpack=$1 cmake=$2 build=$3 out=$4
shift 4
rm -rf "$out"
mkdir -p "$out/zip"
"$cpack" -G ZIP --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
zips=("$out"/*.zip)
[ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || { echo "FAIL: no release ZIP in $out"; exit 1; }
(cd "$out/zip" && "$cmake" -E tar xf "${zips[0]}")
actual=$(cd "$out/zip" && find . -type f | sed 's|^\./||' | sort)
want=$(printf '%s\n' "$@" | sort)
if [ "$actual" != "$want" ]; then
  echo "FAIL: $(basename "${zips[0]}") holds other files than expected:"
  diff <(printf '%s\n' "$want") <(printf '%s\n' "$actual") || true
  exit 1
fi
echo "$(basename "${zips[0]}"): $(tr '\n' ' ' <<< "$actual")"
