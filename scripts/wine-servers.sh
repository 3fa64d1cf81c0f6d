# Sourced by the scripts that run Windows programs from a build tree.
#
#   start_wine_servers <build-dir> [<slot>...]   (default: every prefix)
#
# One Wine server per prefix stays up until the calling script ends, so that
# each program starts in a fraction of a second. Wine's own background
# programs start with the first program of a prefix and inherit its output;
# starting them here, detached from the script's output, keeps whoever reads
# that output (CTest, a pipe) from waiting on handles that they hold open.
# Wine's desktop process ends shortly after the last program with a window
# and starts anew with the next one, inheriting that one's output and
# holding it open for another half second; a program that keeps a window
# open for the whole run (Wine's notepad) keeps the desktop up instead.

WINE_SERVER_PREFIXES=()

stop_wine_servers() {
  local prefix
  for prefix in "${WINE_SERVER_PREFIXES[@]}"; do
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  done
}

start_wine_servers() {
  local build=$1 prefix slot
  shift
  if [ $# -eq 0 ]; then
    WINE_SERVER_PREFIXES=("$build"/wine/prefix*)
  else
    for slot in "$@"; do WINE_SERVER_PREFIXES+=("$build/wine/prefix$slot"); done
  fi
  trap stop_wine_servers EXIT
  for prefix in "${WINE_SERVER_PREFIXES[@]}"; do
    WINEPREFIX=$prefix wineserver -p </dev/null >/dev/null 2>&1
    CTEST_RESOURCE_GROUP_0_WINE="id:${prefix##*prefix},slots:1" \
      "$build/wine/wine-run" cmd /c exit </dev/null >/dev/null 2>&1 || true
    CTEST_RESOURCE_GROUP_0_WINE="id:${prefix##*prefix},slots:1" \
      setsid "$build/wine/wine-run" notepad </dev/null >/dev/null 2>&1 &
  done
}
