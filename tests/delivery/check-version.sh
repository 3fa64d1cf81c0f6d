#!/usr/bin/env bash
# Checks that a delivered binary carries its version information, as
# Windows shows it in the file's properties:
#   check-version.sh <strings> <binary> <version> <description>
# <strings> is the toolchain's strings program.
set -euo pipefail
strings=$1 binary=$2 version=$3 description=$4
# Version resources hold their strings in UTF-16.
text=$("$strings" -el "$binary")
status=0
for pair in "FileVersion=$version" "ProductVersion=$version" \
            "FileDescription=$description" \
            "ProductName=Tandor remote control for Mirabo"; do
  key=${pair%%=*} value=${pair#*=}
  if ! grep -A1 -x -F "$key" <<< "$text" | tail -n 1 | grep -q -x -F "$value"; then
    echo "FAIL: $binary has no $key \"$value\""
    status=1
  fi
done
[ $status -eq 0 ] && echo "$(basename "$binary"): version $version, \"$description\""
exit $status
