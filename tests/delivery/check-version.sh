#!/usr/bin/env bash
# Checks that a delivered DLL carries its version information, as Windows
# shows it in the file's properties:
#   check-version.sh <dll> <version> <description>
set -euo pipefail
dll=$1 version=$2 description=$3
# Version resources hold their strings in UTF-16.
text=$(strings -el "$dll")
status=0
for pair in "FileVersion=$version" "ProductVersion=$version" \
            "FileDescription=$description" \
            "ProductName=Tandor remote control for Mirabo"; do
  key=${pair%%=*} value=${pair#*=}
  if ! grep -A1 -x -F "$key" <<< "$text" | tail -n 1 | grep -q -x -F "$value"; then
    echo "FAIL: $dll has no $key \"$value\""
    status=1
  fi
done
[ $status -eq 0 ] && echo "$dll: version $version, \"$description\""
exit $status
