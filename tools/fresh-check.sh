#!/usr/bin/env bash
# A newcomer's first run, kept as a check: makes a minimal Debian 12 root with
# mmdebstrap (Debian's own packages, nothing else), clones the current commit
# into it and runs the README's two commands there exactly as written:
# tools/sample.sh (no display, so on its Xvfb fallback) and tools/test.sh.
# Prints PASS or FAIL for each, with the last lines of a failure.
#
#   sudo tools/fresh-check.sh
#
# Not part of CI: the first run downloads a few hundred megabytes. Downloaded
# packages are kept in build/fresh/cache and reused; the root itself is made
# anew every run (build/fresh/root, left for a look until the next run).
# Everything runs in private mount and process namespaces, so no mount and no
# Xvfb or wineserver outlives the run, whatever way it ends.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
[ "$(id -u)" -eq 0 ] || { echo "fresh-check.sh: run it as root (mmdebstrap makes the root, the check mounts /proc and /dev in it)" >&2; exit 2; }
for c in mmdebstrap git unshare chroot findmnt flock; do
  command -v "$c" >/dev/null || { echo "fresh-check.sh: $c is missing (tools/deps.sh installs it)" >&2; exit 2; }
done
[ -z "$(git status --porcelain)" ] || echo "note: uncommitted changes are not part of the check; it clones $(git rev-parse --short HEAD)"

work=$repo/build/fresh
root=$work/root
cache=$work/cache
mkdir -p "$cache" "$work"
exec 9>"$work/lock"
flock -n 9 || { echo "fresh-check.sh: another run holds $work/lock" >&2; exit 2; }

# Leftovers of an earlier run: its mounts died with its namespace, but make
# sure before removing anything, and never cross into another file system.
unmount_all() {
  local m
  for m in $(findmnt -rno TARGET | grep -F "$root/" | sort -r); do umount -l "$m" 2>/dev/null || true; done
}
unmount_all
rm -rf --one-file-system "$root"

start=$(date +%s)
git bundle create "$work/src.bundle" HEAD 2>/dev/null
commit=$(git rev-parse HEAD)

# The same archive the host uses: Debian 12 and its updates and security.
mirrors=("deb http://deb.debian.org/debian bookworm main"
         "deb http://deb.debian.org/debian bookworm-updates main"
         "deb http://deb.debian.org/debian-security bookworm-security main")
aptopts=()
if apt-config dump 2>/dev/null | grep -q 'Acquire::Check-Valid-Until "false"'; then
  aptopts+=(--aptopt='Acquire::Check-Valid-Until "false"')   # a dated mirror, as on the host
fi
echo "== making a Debian 12 root (minbase, git, ca-certificates) in $root"
if ! mmdebstrap --quiet --variant=minbase --include=git,ca-certificates "${aptopts[@]}" \
      --skip=essential/unlink \
      --setup-hook='mkdir -p "$1"/var/cache/apt/archives/' \
      --setup-hook="sync-in $cache /var/cache/apt/archives/" \
      --customize-hook="sync-out /var/cache/apt/archives $cache" \
      bookworm "$root" "${mirrors[@]}" >"$work/mmdebstrap.log" 2>&1; then
  echo "FAIL: the root could not be made:"; tail -n 20 "$work/mmdebstrap.log"; exit 1
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$work/src.bundle" "$root/root/src.bundle"
echo "root made in $(( $(date +%s) - start )) s"

# Runs inside new mount and PID namespaces: mounts /proc, /dev, /dev/shm,
# /tmp and the package cache in the root, clones, runs one README command.
inside() {  # log file, command as the README writes it
  local log=$1 cmd=$2
  unshare --mount --pid --fork --propagation private bash -c '
    set -e
    root=$1 cache=$2 cmd=$3
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"; mount --make-rslave "$root/dev"
    mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
    mount --rbind /sys "$root/sys"; mount --make-rslave "$root/sys"
    mount -t tmpfs -o mode=1777 tmp "$root/tmp"
    mount --bind "$cache" "$root/var/cache/apt/archives"
    exec chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      bash -c "cd /root/zarn && $cmd"' _ "$root" "$cache" "$cmd" >"$log" 2>&1
}

# The newcomer's clone, made with the root's own git.
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/bin:/bin \
  git -c advice.detachedHead=false clone -q /root/src.bundle /root/zarn
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/bin:/bin \
  git -C /root/zarn -c advice.detachedHead=false checkout -q --detach "$commit"

status=0
for cmd in tools/sample.sh tools/test.sh; do
  log="$work/$(basename "$cmd" .sh).log"
  t0=$(date +%s)
  if inside "$log" "$cmd"; then
    echo "PASS: $cmd ($(( $(date +%s) - t0 )) s)"
  else
    echo "FAIL: $cmd ($(( $(date +%s) - t0 )) s), last lines of $log:"
    tail -n 25 "$log" | sed 's/^/  /'
    status=1
  fi
done
unmount_all
[ -f "$root/root/zarn/sample/screenshot.png" ] && echo "sample screenshot: $root/root/zarn/sample/screenshot.png"
echo "commit $(git rev-parse --short HEAD), $(( $(date +%s) - start )) s in all; cache $(du -sh "$cache" | cut -f1)"
exit $status
