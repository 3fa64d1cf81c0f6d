#!/usr/bin/env bash
# Checks a delivered DLL's import and export tables:
#   check-dll.sh <objdump> <dll> <allowed-imports> <expected-exports>
# Every imported function must be listed in <allowed-imports> (functions that
# both Windows 98 and Windows 2000 provide, as DLL!function), no DLL of the
# compiler's runtime may be imported, and the DLL must export exactly the
# lines of <expected-exports> ("ordinal name", or the name alone where the
# ordinal does not matter).
set -euo pipefail
objdump=$1 dll=$2 allowed=$3 expected=$4
dump=$("$objdump" -p "$dll")

imports=$(printf '%s\n' "$dump" | awk '
  /DLL Name:/ { dll = toupper($3); next }
  /^$/ { if (dll != "" && seen) { dll = ""; seen = 0 } next }
  dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll "!" $NF; seen = 1 }
' | sort -u)
[ -n "$imports" ] || { echo "FAIL: no imports read from $dll"; exit 1; }

status=0
while read -r import; do
  if ! grep -qixF "$import" "$allowed"; then
    echo "FAIL: $dll imports $import, which is not known to exist on Windows 98 and 2000"
    status=1
  fi
done <<< "$imports"

# "ordinal name" for each export; an expected line with a name alone checks
# the name only.
actual=$(printf '%s\n' "$dump" | awk '
  /^Ordinal Base/ { base = $3 }
  /\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
  table && match($0, /\[ *[0-9]+\] +[^ ]+/) {
    entry = substr($0, RSTART + 1, RLENGTH - 1); split(entry, part, /\] +/)
    print part[1] + base, part[2]; next
  }
  table && !/^\t/ { table = 0 }
' | sort -k2)
want=$(grep -v '^#' "$expected" | sed '/^$/d' | sort -k2)
if ! grep -v '^#' "$expected" | sed '/^$/d' | grep -q ' '; then
  actual=$(printf '%s\n' "$actual" | awk '{ print $2 }' | sort)
  want=$(printf '%s\n' "$want" | sort)
fi
if [ "$actual" != "$want" ]; then
  echo "FAIL: exports of $dll differ from $expected:"
  diff <(printf '%s\n' "$want") <(printf '%s\n' "$actual") || true
  status=1
fi
[ $status -eq 0 ] && echo "$dll: $(wc -l <<< "$imports") imports allowed, exports as expected"
exit $status
