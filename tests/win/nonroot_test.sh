#!/usr/bin/env bash
# Runs the NonRoot tests of the Windows core tests under Wine as a user who
# may not write the game folder: the panel must say so, with the remedy for
# a Linux user. As root, Wine runs as user 65534 ("nobody") through setpriv,
# with a prefix of its own (Wine wants its prefix owned by the user who runs
# it), kept in /tmp for the next run; a user who is not root already is such
# a user, and gets a folder without write permission.
#
#   tests/win/nonroot_test.sh <zarn_tests.exe>
set -euo pipefail
game=$(mktemp -d /tmp/zarn-protected.XXXXXX)
# The test program runs from a folder of its own that any user may read: the
# build tree may sit where user 65534 may not look (a clone under /root).
bin=$(mktemp -d /tmp/zarn-nonroot-bin.XXXXXX)
cp "$1" "$bin/zarn_tests.exe"
chmod 755 "$bin" && chmod 644 "$bin/zarn_tests.exe"
exe=$bin/zarn_tests.exe
cd "$bin"
run=()
if [ "$(id -u)" = 0 ]; then
  uid=65534
  base=/tmp/zarn-nonroot-wine
  if [ ! -d "$base" ] || [ "$(stat -c %u "$base")" != "$uid" ]; then
    rm -rf "$base"
    mkdir -m 700 "$base"
    chown "$uid:$uid" "$base"
  fi
  run=(setpriv --reuid=$uid --regid=$uid --clear-groups env HOME="$base" WINEPREFIX="$base/prefix")
  chmod 755 "$game"   # root's: others may read it, not write it
else
  base=
fi
cleanup() {
  chmod -R u+w "$game" 2>/dev/null || true
  rm -rf "$game" "$bin"
  "${run[@]}" wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
printf 'csf' > "$game/ra2md.csf"
printf 'readme' > "$game/Readme.txt"
[ -z "$base" ] && chmod 555 "$game"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -n "$base" ] && [ ! -f "$base/prefix/system.reg" ]; then
  env -u DISPLAY "${run[@]}" wineboot -i >/dev/null 2>&1
  "${run[@]}" wineserver -w
fi
out=$(env -u DISPLAY "${run[@]}" ZARN_PROTECTED_FOLDER="Z:${game//\//\\}" \
      wine "$exe" --gtest_filter='NonRoot.*' 2>&1) && rc=0 || rc=$?
echo "$out"
[ "$rc" = 0 ] || exit "$rc"
# Skipped would mean the folder was never named: that is a failure here.
grep -q '^\[  PASSED  \] 1 test' <<<"$out" && ! grep -q SKIPPED <<<"$out"
# Nothing in the folder changed.
[ "$(cat "$game/ra2md.csf")" = csf ] && [ "$(ls "$game" | tr '\n' ' ')" = "Readme.txt ra2md.csf " ]
