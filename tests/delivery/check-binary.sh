#!/usr/bin/env bash
# Checks one delivered binary (a DLL or the check tool) against what our
# users' machines accept:
#   check-binary.sh <objdump> <binary> <windows95-imports> [<expected-exports>]
# - no TLS directory: Windows 95 and Win32s refuse to LoadLibrary a DLL
#   that has one;
# - every import is a function of <windows95-imports> (what Windows 95 as
#   shipped exports, as DLL!function): no C runtime DLL, nothing newer;
# - no instruction that a 486 lacks;
# - operating-system and subsystem versions 4.0 in the header: Windows 95, 98
#   and NT 4 refuse a file that asks for a newer Windows;
# - with <expected-exports>, exactly those exports ("ordinal name" lines, or
#   names alone where the ordinal does not matter).
set -euo pipefail
objdump=$1 binary=$2 allowed=$3 expected=${4:-}
name=$(basename "$binary")
dump=$("$objdump" -p "$binary")
status=0
fail() { echo "FAIL: $name: $*"; status=1; }

# The TLS entry of the data directory: "Entry 9 <rva> <size> Thread Storage
# Directory [.tls]".
tls=$(printf '%s\n' "$dump" | awk '/Thread Storage Directory/ { print $3, $4 }')
[ -n "$tls" ] || fail "no data directory read"
[ "$tls" = "00000000 00000000" ] || fail "has a TLS directory ($tls)"
if "$objdump" -h "$binary" | awk '{ print $2 }' | grep -qx '\.tls'; then
  fail "has a .tls section"
fi

for field in MajorOSystemVersion:4 MinorOSystemVersion:0 \
             MajorSubsystemVersion:4 MinorSubsystemVersion:0; do
  key=${field%:*} want=${field#*:}
  value=$(printf '%s\n' "$dump" | awk -v f="$key" '$1 == f { print $2 }')
  [ "$value" = "$want" ] || fail "$key is ${value:-missing}, not $want"
done

imports=$(printf '%s\n' "$dump" | awk '
  /DLL Name:/ { dll = toupper($3); next }
  /^$/ { if (dll != "" && seen) { dll = ""; seen = 0 } next }
  dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll "!" $NF; seen = 1 }
' | sort -u)
[ -n "$imports" ] || fail "no imports read"
while read -r import; do
  [ -n "$import" ] || continue
  grep -qixF "$import" "$allowed" ||
    fail "imports $import, which Windows 95 as shipped does not export"
done <<< "$imports"

# Instructions the 486 lacks: the Pentium Pro's conditional moves and
# compares, the Pentium's time-stamp counter and 8-byte compare-exchange,
# CPUID (absent from early 486s), fast system calls, the multi-byte NOPs
# and other hint encodings, and everything of MMX, SSE and later.
late='^(cmov[a-z]+|fcmov[a-z]+|fu?comip?|rdtscp?|rdpmc|cpuid|cmpxchg(8|16)b'
late+='|sys(enter|exit|call|ret)|nop[wlq]|endbr(32|64)|ud[01]|popcnt|lzcnt'
late+='|tzcnt|movbe|crc32[a-z]*|rdrand|rdseed|emms|femms|[lms]fence'
late+='|prefetch[a-z0-9]*|clflush[a-z]*|fxsave|fxrstor|xsave[a-z]*'
late+='|xrstor[a-z]*|fisttp[a-z]*|ldmxcsr|stmxcsr)$'
found=$("$objdump" -d --no-show-raw-insn "$binary" | awk -v late="$late" '
  /^[0-9a-f]+ <.*>:$/ { function_name = $2; next }
  /^ *[0-9a-f]+:\t/ {
    split($0, part, "\t"); text = part[2]; count++
    n = split(text, word, " ")
    i = 1
    while (i < n && word[i] ~ /^(lock|rep|repz|repe|repnz|repne|data16|addr16|[c-gs]s|notrack|bnd)$/) i++
    if (word[i] ~ late || text ~ /%(x|y|z)?mm[0-9]/ || text ~ /%k[0-7]([^0-9]|$)/)
      print "  " function_name " " $1 " " text
  }
  END { if (count == 0) print "  no instructions read" }')
[ -z "$found" ] || fail "has instructions that a 486 lacks:"$'\n'"$found"

if [ -n "$expected" ]; then
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
  if ! grep -q ' ' <<< "$want"; then
    actual=$(awk '{ print $2 }' <<< "$actual" | sort)
    want=$(sort <<< "$want")
  fi
  if [ "$actual" != "$want" ]; then
    fail "exports differ from $(basename "$expected"):"
    diff <(printf '%s\n' "$want") <(printf '%s\n' "$actual") || true
  fi
fi

[ $status -eq 0 ] && echo "$name: no TLS directory, $(wc -l <<< "$imports") imports of Windows 95, 486 instructions only, Windows 4.0 in the header${expected:+, exports as expected}"
exit $status
