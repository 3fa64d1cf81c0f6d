#!/usr/bin/env bash
# Packs the release ZIP of a configured and built tree, as scripts/package.sh
# does, unpacks it and checks that it holds exactly the files that users get
# and that its SHA256SUMS checks it:
#   unpack-release.sh <cmake> <build-dir> <out-dir> <file>...
# The unpacked files land in <out-dir>/zip.
set -euo pipefail
cmake=$1 build=$2 out=$3
shift 3
rm -rf "$out"
mkdir -p "$out/zip"
"$cmake" -DOUTPUT_DIR="$out" -P "$build/PackRelease.cmake" >/dev/null
zips=("$out"/*.zip)
[ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || { echo "FAIL: no release ZIP in $out"; exit 1; }
(cd "$out" && sha256sum --quiet -c SHA256SUMS) || { echo "FAIL: SHA256SUMS does not check the ZIP"; exit 1; }
(cd "$out/zip" && "$cmake" -E tar xf "${zips[0]}")
actual=$(cd "$out/zip" && find . -type f | sed 's|^\./||' | sort)
want=$(printf '%s\n' "$@" | sort)
if [ "$actual" != "$want" ]; then
  echo "FAIL: $(basename "${zips[0]}") holds other files than expected:"
  diff <(printf '%s\n' "$want") <(printf '%s\n' "$actual") || true
  exit 1
fi
echo "$(basename "${zips[0]}"): $(tr '\n' ' ' <<< "$actual")"
