#!/usr/bin/env bash
# The remote-control plug-in at work in the stand-in Mirabo host, against the
# simulated card, as Windows 98 (tandor.dll, TandorUtl.dll, the simulated
# BtVid_32.Dll): a scripted session with digits, a held VolumeUp (the first
# delay, then repeats), ChannelUp, and the main window opening and closing
# (sound on and off), then Stop. Prints each key event and sound switch as it
# happens and the plug-in's log at the end.
#
# Usage: scripts/demo.sh [--win2000] [--check] [--keys SCRIPT|FILE] [--vcd FILE]
#   --win2000      run as Windows 2000: the plug-in uses wdmI2cDll.dll
#   --check        run the check tool instead: the whole check (with keys
#                  pressed during its key test), as a user with the real
#                  card would run tandorcheck.exe
#   --keys SCRIPT  your own key script instead of the demo's: MS:CODE,...
#                  (e.g. 500:18,700:-1 presses Power for 200 ms), or a file
#                  of such entries ('#' starts a comment)
#   --vcd FILE     also write the simulated bus lines to FILE (VCD; on the
#                  Windows 98 path: wdmI2cDll.dll works in whole bytes)
# BUILD_DIR picks the build folder (default: build). The session runs in a
# fresh working folder, which is kept (settings, log, key script, trace).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

usage() { sed -n '/^# Usage:/,/^# fresh/s/^# \{0,1\}//p' "$0"; }
version=win98 keys= vcd= check=
while [ $# -gt 0 ]; do
  case $1 in
    --win2000) version=win2k ;;
    --check) check=1 ;;
    --keys) [ $# -ge 2 ] || { usage >&2; exit 2; }; keys=$2; shift ;;
    --vcd) [ $# -ge 2 ] || { usage >&2; exit 2; }; vcd=$(realpath -m "$2"); shift ;;
    -h|--help) usage; exit 0 ;;
    *) echo "demo: unknown option $1" >&2; usage >&2; exit 2 ;;
  esac
  shift
done
if [ -n "$keys" ] && [ -f "$keys" ]; then keys=$(realpath "$keys"); fi

"$root/scripts/install-deps.sh"
echo "demo: building the plug-in, TandorUtl, the check tool, the simulated card and the host in $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" \
  --target tandor TandorUtl tandorcheck simcard simwdm host wine_prefixes \
  >/dev/null

. "$root/scripts/wine-servers.sh"
start_wine_servers "$build" 0
run=$build/wine/wine-run

work=$(mktemp -d "${TMPDIR:-/tmp}/tandor-demo.XXXXXX")
bin=$build/bin
cp "$bin/host.exe" "$work/host-$version.exe"
cp "$bin/tandor.dll" "$bin/TandorUtl.dll" "$bin/BtVid_32.Dll" \
   "$bin/wdmI2cDll.dll" "$work/"

if [ -n "$check" ]; then
  # The receiver reports ChannelUp, then Power held, during the key test.
  cp "$bin/tandorcheck.exe" "$work/tandorcheck-$version.exe"
  echo "demo: the check tool in $work, as $version, on the simulated card"
  status=0
  (cd "$work" && SIMCARD="keys=4000:26,4300:-1,5000:18,6500:-1" \
     "$run" "tandorcheck-$version.exe" </dev/null) || status=$?
  echo "demo: tandorcheck exit status $status"
  exit $status
fi
printf '%s\r\n' "[MiraboRemote]" "KeyFirstDelay=400" "KeyRepeatDelay=100" \
  "LeaveSoundOnExit=0" "UseAcorpCompMode=0" "UseLog=1" >"$work/mirabo.ini"

# The demo's session. After a key the plug-in looks again only after
# KeyFirstDelay (400 ms here), so each digit is held across one such look.
cat >"$work/demo.keys" <<'KEYS'
# MS:CODE - from MS on the receiver reports CODE; -1: no key
1100:1    1300:-1   # digit 1
1850:2    2200:-1   # digit 2
2250:3    2600:-1   # digit 3
2900:27   4300:-1   # VolumeUp held: at once, after 400 ms, then every 100
4700:26   4900:-1   # ChannelUp
KEYS
args=(--answer-boxes --show-log)
if [ -n "$keys" ]; then
  if [ -f "$keys" ]; then
    cp "$keys" "$work/user.keys"
    args+=(--keys-file user.keys)
  else
    args+=(--keys "$keys")
  fi
  args+=(--window open@300)
else
  args+=(--keys-file demo.keys --window open@300,close@5500 --run 6600)
fi
if [ -n "$vcd" ]; then
  mkdir -p "$(dirname "$vcd")"
  args+=(--vcd "$("$run" winepath -w "$vcd" 2>/dev/null | tr -d '\r')")
fi

case $version in
  win98) echo "demo: Windows 98: tandor.dll -> TandorUtl.dll -> simulated BtVid_32.Dll" ;;
  win2k) echo "demo: Windows 2000: tandor.dll -> simulated wdmI2cDll.dll" ;;
esac
echo "demo: working folder $work; KeyFirstDelay=400, KeyRepeatDelay=100"
status=0
(cd "$work" && "$run" "host-$version.exe" "${args[@]}" </dev/null) || status=$?
# A plug-in that could not set itself up ended the host at once, before the
# host could print the log; the log tells why.
if [ $status -eq 1 ] && [ -f "$work/MiraboRemote.log" ]; then
  echo "demo: the plug-in ended the host; MiraboRemote.log:"
  tr -d '\r' <"$work/MiraboRemote.log"
  echo
fi
echo "demo: host exit status $status; files in $work"
exit $status
