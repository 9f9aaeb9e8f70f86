#!/usr/bin/env bash
# tests/win/nonroot_test.sh <zarn_tests.exe>: the NonRoot test under Wine as a
# user who may not write the game folder (as root: user 65534, with a prefix
# of its own, as Wine wants its prefix owned by its user). Each run makes its
# own prefix, so its wineserver -k at the end ends no other run's Wine.
set -euo pipefail
. "$(dirname "$0")/../../tools/utf8.sh"  # Wine needs a UTF-8 locale for non-ASCII file names
game=$(mktemp -d /tmp/zarn-protected.XXXXXX)
bin=$(mktemp -d /tmp/zarn-nonroot-bin.XXXXXX)  # the build tree may be closed to that user
install -m 644 "$1" "$bin/zarn_tests.exe" && chmod 755 "$bin" "$game" && cd "$bin"
printf csf > "$game/ra2md.csf" && printf readme > "$game/Readme.txt"
run=() base=$(mktemp -d /tmp/zarn-nonroot-wine.XXXXXX)
if [ "$(id -u)" = 0 ]; then
  chown 65534:65534 "$base"
  run=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$base" WINEPREFIX="$base/prefix")
else
  run=(env WINEPREFIX="$base/prefix")
  chmod 555 "$game"
fi
trap '"${run[@]}" wineserver -k 2>/dev/null || true; chmod -R u+w "$game"; rm -rf "$game" "$bin" "$base"' EXIT
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
out=$(env -u DISPLAY "${run[@]}" ZARN_PROTECTED_FOLDER="Z:${game//\//\\}" \
      wine zarn_tests.exe --gtest_filter='NonRoot.*' 2>&1) || { echo "$out"; exit 1; }
echo "$out"
grep -q '^\[  PASSED  \] 1 test' <<<"$out" && ! grep -q SKIPPED <<<"$out"
[ "$(cat "$game/ra2md.csf")" = csf ] && [ "$(LC_ALL=C ls "$game" | tr '\n' ' ')" = "Readme.txt ra2md.csf " ]
