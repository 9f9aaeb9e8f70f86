#!/usr/bin/env bash
# tests/win/nonroot_test.sh <zarn_tests.exe>: the NonRoot test under Wine as a
# user who may not write the game folder (as root: user 65534, with a prefix
# of its own, as Wine wants its prefix owned by its user).
set -euo pipefail
game=$(mktemp -d /tmp/zarn-protected.XXXXXX)
bin=$(mktemp -d /tmp/zarn-nonroot-bin.XXXXXX)  # the build tree may be closed to that user
install -m 644 "$1" "$bin/zarn_tests.exe" && chmod 755 "$bin" "$game" && cd "$bin"
printf csf > "$game/ra2md.csf" && printf readme > "$game/Readme.txt"
run=() base=/tmp/zarn-nonroot-wine
if [ "$(id -u)" = 0 ]; then
  if [ "$(stat -c %u "$base" 2>/dev/null)" != 65534 ]; then
    rm -rf "$base" && mkdir -m 700 "$base" && chown 65534:65534 "$base"
  fi
  run=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$base" WINEPREFIX="$base/prefix")
else
  chmod 555 "$game"
fi
trap 'chmod -R u+w "$game"; rm -rf "$game" "$bin"; "${run[@]}" wineserver -k 2>/dev/null || true' EXIT
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
out=$(env -u DISPLAY "${run[@]}" ZARN_PROTECTED_FOLDER="Z:${game//\//\\}" \
      wine zarn_tests.exe --gtest_filter='NonRoot.*' 2>&1) || { echo "$out"; exit 1; }
echo "$out"
grep -q '^\[  PASSED  \] 1 test' <<<"$out" && ! grep -q SKIPPED <<<"$out"
[ "$(cat "$game/ra2md.csf")" = csf ] && [ "$(ls "$game" | tr '\n' ' ')" = "Readme.txt ra2md.csf " ]
