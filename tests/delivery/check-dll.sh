#!/usr/bin/env bash
# Checks a delivered DLL's import and export tables:
#   check-dll.sh <objdump> <dll> <allowed-imports> <expected-exports>
# Every imported function must be listed in <allowed-imports> (functions that
# both Windows 98 and Windows 2000 provide, as DLL!function), no DLL of the
# compiler's runtime may be imported, and the DLL must export exactly the
# lines of <expected-exports> ("ordinal name" each).
set -euo pipefail
objdump=$1 dll=$2 allowed=$3 expected=$4
dump=$("$objdump" -p "$dll")

imports=$(printf '%s\n' "$dump" | awk '
  /DLL Name:/ { dll = toupper($3); next }
  /^$/ { if (dll != "" && seen) { dll = ""; seen = 0 } next }
  dll != "" && /^\t[ 0-9a-f]+ +[0-9]+ +[A-Za-z_]/ { print dll "!" $NF; seen = 1 }
' | sort -u)
[ -n "$imports" ] || { echo "FAIL: no imports read from $dll"; exit 1; }

status=0
while read -r import; do
  if ! grep -qixF "$import" "$allowed"; then
    echo "FAIL: $dll imports $import, which is not known to exist on Windows 98 and 2000"
    status=1
  fi
done <<< "$imports"

actual=$(printf '%s\n' "$dump" | awk '
  /\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
  table && /^\t\[/ { gsub(/[\[\]]/, "", $1); print $1 + 0, $2; next }
  table && !/^\t/ { table = 0 }
' | sort -k2)
want=$(grep -v '^#' "$expected" | sed '/^$/d' | sort -k2)
if [ "$actual" != "$want" ]; then
  echo "FAIL: exports of $dll differ from $expected:"
  diff <(printf '%s\n' "$want") <(printf '%s\n' "$actual") || true
  status=1
fi
[ $status -eq 0 ] && echo "$dll: $(wc -l <<< "$imports") imports allowed, exports as expected"
exit $status
