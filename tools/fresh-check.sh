#!/usr/bin/env bash
# A newcomer's first run, kept as a check: makes a minimal Debian root with
# mmdebstrap (Debian's own packages, nothing else), clones the current commit
# into it and runs the README's two commands there exactly as written:
# tools/sample.sh (no display, so on its Xvfb fallback) and tools/test.sh.
# Prints PASS or FAIL for each, with the last lines of a failure.
#
#   sudo tools/fresh-check.sh [12|13] [--user] [--lang LOCALE]
#
#   12, 13     the Debian release (bookworm, trixie); 13, the current stable
#              release, unless told
#   --user     run the commands as a new ordinary user with password-less
#              sudo, as on a newcomer's own machine; without it, as root
#   --lang L   run them with LANG=L; without it, with no locale at all, as a
#              container, `env -i` or a cron job starts them
#
# Not part of CI: the first run downloads a few hundred megabytes. Downloaded
# packages are kept in build/fresh/cache-<release> and reused; the root itself
# is made anew every run (build/fresh/root, left for a look until the next
# run). Everything runs in private mount and process namespaces, so no mount
# and no Xvfb or wineserver outlives the run, whatever way it ends. The root
# gets what some containers lack: a writable /dev/shm and /tmp.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

release=13 user="" lang=""
while [ $# -gt 0 ]; do
  case $1 in
    12|13) release=$1 ;;
    --user) user=newcomer ;;
    --lang) [ $# -ge 2 ] || { echo "fresh-check.sh: --lang needs a locale, such as C.UTF-8" >&2; exit 2; }
            lang=$2; shift ;;
    *) echo "fresh-check.sh: unknown release or option \"$1\" (releases: 12, 13; options: --user, --lang LOCALE)" >&2
       exit 2 ;;
  esac
  shift
done
case $release in
  12) suite=bookworm ;;
  13) suite=trixie ;;
esac

[ "$(id -u)" -eq 0 ] || { echo "fresh-check.sh: run it as root (mmdebstrap makes the root, the check mounts /proc and /dev in it)" >&2; exit 2; }
for c in mmdebstrap git unshare chroot findmnt flock; do
  command -v "$c" >/dev/null || { echo "fresh-check.sh: $c is missing (tools/deps.sh installs it)" >&2; exit 2; }
done
[ -z "$(git status --porcelain)" ] || echo "note: uncommitted changes are not part of the check; it clones $(git rev-parse --short HEAD)"

work=$repo/build/fresh
root=$work/root
cache=$work/cache-$release
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

# The release and its updates and security fixes, from Debian's own mirror.
mirrors=("deb http://deb.debian.org/debian $suite main"
         "deb http://deb.debian.org/debian $suite-updates main"
         "deb http://deb.debian.org/debian-security $suite-security main")
aptopts=()
if apt-config dump 2>/dev/null | grep -q 'Acquire::Check-Valid-Until "false"'; then
  aptopts+=(--aptopt='Acquire::Check-Valid-Until "false"')   # a dated mirror, as on the host
fi
include=git,ca-certificates
[ -n "$user" ] && include+=,sudo
echo "== making a Debian $release ($suite) root (minbase, $include) in $root"
if ! mmdebstrap --quiet --variant=minbase --include="$include" "${aptopts[@]}" \
      --skip=essential/unlink \
      --setup-hook='mkdir -p "$1"/var/cache/apt/archives/' \
      --setup-hook="sync-in $cache /var/cache/apt/archives/" \
      --customize-hook="sync-out /var/cache/apt/archives $cache" \
      "$suite" "$root" "${mirrors[@]}" >"$work/mmdebstrap.log" 2>&1; then
  echo "FAIL: the root could not be made:"; tail -n 20 "$work/mmdebstrap.log"; exit 1
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
home=/root
if [ -n "$user" ]; then
  home=/home/$user
  chroot "$root" useradd -m -s /bin/bash "$user"
  echo "$user ALL=(ALL) NOPASSWD: ALL" >"$root/etc/sudoers.d/$user"
  chmod 440 "$root/etc/sudoers.d/$user"
fi
install -m 644 "$work/src.bundle" "$root/tmp-src.bundle"
echo "root made in $(( $(date +%s) - start )) s"

# As the newcomer: no locale unless one is asked for, a plain PATH and HOME.
as_newcomer=(/usr/bin/env -i HOME="$home" TERM=dumb
             PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
[ -n "$lang" ] && as_newcomer+=(LANG="$lang")
[ -n "$user" ] && as_newcomer=(/usr/sbin/runuser -u "$user" -- "${as_newcomer[@]}" USER="$user" LOGNAME="$user")

# Runs inside new mount and PID namespaces: mounts /proc, /dev, a writable
# /dev/shm, /tmp and the package cache in the root, then one command in the
# newcomer's clone.
inside() {  # log file, command as the README writes it
  local log=$1 cmd=$2
  unshare --mount --pid --fork --propagation private bash -c '
    set -e
    root=$1 cache=$2 cmd=$3; shift 3
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"; mount --make-rslave "$root/dev"
    mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
    mount --rbind /sys "$root/sys"; mount --make-rslave "$root/sys"
    mount -t tmpfs -o mode=1777 tmp "$root/tmp"
    mount --bind "$cache" "$root/var/cache/apt/archives"
    exec chroot "$root" "$@" bash -c "cd ~/zarn && $cmd"' _ "$root" "$cache" "$cmd" "${as_newcomer[@]}" \
    >"$log" 2>&1
}

# The newcomer's clone, made with the root's own git, as the newcomer.
clone="git -c init.defaultBranch=main -c advice.detachedHead=false clone -q /tmp-src.bundle ~/zarn && git -C ~/zarn -c advice.detachedHead=false checkout -q --detach $commit"
chroot "$root" "${as_newcomer[@]}" bash -c "$clone"

echo "== Debian $release, as ${user:-root}, ${lang:+LANG=$lang}${lang:-no locale}, commit ${commit:0:7}"
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
shot=$root$home/zarn/sample/screenshot.png
[ -f "$shot" ] && echo "sample screenshot: $shot"
echo "commit $(git rev-parse --short HEAD), $(( $(date +%s) - start )) s in all; cache $(du -sh "$cache" | cut -f1)"
exit $status
