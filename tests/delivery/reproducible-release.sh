#!/usr/bin/env bash
# Builds the release twice with scripts/package.sh, into two folders, with
# what must not matter made to differ: the build folder's path, the time
# zone, the umask, the locale and the clock (the second build starts a
# whole build later). Both give the same bytes: the ZIP, SHA256SUMS and
# every file inside. Besides, no delivered file holds a path of the machine
# that built it, and the ZIP's entries lie in byte order of their names, each
# rw-r--r-- and dated with the last commit:
#   reproducible-release.sh <source-dir> <work-dir> <strings>
# <strings> is the toolchain's strings program.
set -euo pipefail
source=$1 work=$2 strings=$3
first=$work/first
second=$work/second/in/a/folder/of/another/depth
status=0
fail() { echo "FAIL: $*"; status=1; }

# build <build-dir> <time zone> <umask> <locale>
build() {
  (umask "$3" && env -u SOURCE_DATE_EPOCH TZ="$2" LC_ALL="$4" BUILD_DIR="$1" \
    "$source/scripts/package.sh" >/dev/null)
}

rm -rf "$work"
build "$first" UTC0 022 C
build "$second" '<+14>-14' 077 C.UTF-8

zip_name=$(basename "$first"/package/*.zip)
for file in "$zip_name" SHA256SUMS; do
  cmp -s "$first/package/$file" "$second/package/$file" ||
    fail "$file differs between the two builds"
done
for build_dir in "$first" "$second"; do
  mkdir -p "$build_dir/unpacked"
  (cd "$build_dir/unpacked" && unzip -q "../package/$zip_name")
done
files=$(cd "$first/unpacked" && ls)
for file in $files; do
  if ! cmp -s "$first/unpacked/$file" "$second/unpacked/$file"; then
    fail "$file differs between the two builds (offset, bytes in octal):"
    cmp -l "$first/unpacked/$file" "$second/unpacked/$file" | head -5 || true
  fi
  for path in "$source" "$first" "$second"; do
    if { "$strings" -a "$first/unpacked/$file"
         "$strings" -a -el "$first/unpacked/$file"; } | grep -q -F "$path"; then
      fail "$file holds the path $path"
    fi
  done
done

epoch=$(git -C "$source" log -1 --format=%ct 2>/dev/null) || epoch=315532800
# An entry's time is stored to two seconds, rounded up.
when=$(TZ=UTC0 date -d "@$(((epoch + 1) / 2 * 2))" +%Y%m%d.%H%M%S)
listing=$(zipinfo -T -s "$first/package/$zip_name" | grep '^-')
while read -r mode _ _ _ _ _ date name; do
  [ "$mode" = "-rw-r--r--" ] || fail "$name is stored as $mode"
  [ "$date" = "$when" ] || fail "$name is dated $date, not $when (the last commit)"
done <<< "$listing"
names=$(awk '{ print $NF }' <<< "$listing")
[ "$names" = "$(LC_ALL=C sort <<< "$names")" ] ||
  fail "the entries are not in byte order of their names: $(tr '\n' ' ' <<< "$names")"

[ $status -eq 0 ] && echo "two builds, one release: $(cat "$first/package/SHA256SUMS")"
exit $status
