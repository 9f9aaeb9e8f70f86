#!/usr/bin/env bash
# Builds the release from the committed tree: the Windows executable, built
# in a fresh folder from `git archive HEAD`, and
#   dist/ZARN-Control-Panal-<version>-win64.zip  (the files that
#                                                  tools/release/files.txt
#                                                  names: the executable and
#                                                  the players' guide, CRLF)
#   dist/SHA256SUMS                              (the zip and the exe)
# Reproducible: the same commit gives the same bytes, whatever folder it is
# built in and whenever. Times come from the commit (SOURCE_DATE_EPOCH), the
# linker writes no time stamp, build paths are mapped away, and the zip's
# entries have a fixed order, time and permissions.
#
#   tools/release.sh             build and write dist/
#   tools/release.sh --verify    build twice, in two temporary folders, and
#                                compare; prints both hashes, exit 1 if they
#                                differ (dist/ is left alone)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
version=2.1.0.3
zip_name=ZARN-Control-Panal-$version-win64.zip
# The zip's names, defined once: the panel, then the players' guide.
mapfile -t zip_files < <(grep -v -e '^#' -e '^$' tools/release/files.txt)
exe_name=${zip_files[0]} guide_name=${zip_files[1]}

mode=release
case "${1:-}" in
  "") ;;
  --verify) mode=verify ;;
  *) echo "usage: tools/release.sh [--verify]" >&2; exit 2 ;;
esac

for c in git cmake make x86_64-w64-mingw32-g++ x86_64-w64-mingw32-windres python3 sha256sum tar; do
  command -v "$c" >/dev/null || { echo "release.sh: $c is missing (tools/deps.sh installs it)" >&2; exit 1; }
done
[ -f /usr/src/googletest/googletest/CMakeLists.txt ] || {
  echo "release.sh: /usr/src/googletest is missing (package googletest; tools/deps.sh installs it)" >&2; exit 1; }
if [ -n "$(git status --porcelain)" ]; then
  echo "release.sh: the tree has uncommitted changes; a release is built from a commit (commit or stash them first)" >&2
  exit 1
fi
commit=$(git rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C
umask 022

temps=()
trap 'rm -rf "${temps[@]}"' EXIT

# build <folder>: sources, build tree and output (out/) in that folder.
build() {
  local dir=$1
  mkdir -p "$dir/src" "$dir/out"
  git archive --format=tar "$commit" | tar -x -C "$dir/src"
  cmake -S "$dir/src" -B "$dir/build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake \
        -DCMAKE_BUILD_TYPE=MinSizeRel >"$dir/build.log" 2>&1 &&
    cmake --build "$dir/build" -j 2 --target zarn_panel_exe >>"$dir/build.log" 2>&1 ||
    { echo "release.sh: the build failed; last lines of $dir/build.log:" >&2; tail -n 20 "$dir/build.log" >&2; return 1; }
  cp "$dir/build/app/$exe_name" "$dir/out/$exe_name"
  local exe_sum
  exe_sum=$(sha256sum "$dir/out/$exe_name" | cut -d' ' -f1)
  # The guide for Notepad: CRLF line ends, the exe's hash and the version filled in.
  sed -e "s/@VERSION@/$version/g" -e "s/@EXE_SHA256@/$exe_sum/g" -e 's/$/\r/' \
      "$dir/src/tools/release/guide.txt.in" >"$dir/out/$guide_name"
  python3 - "$dir/out" "$zip_name" "$exe_name" "$guide_name" <<'PY'
import os, sys, time, zipfile
out, zip_name, *names = sys.argv[1:]
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]  # zip times start in 1980
tmp = os.path.join(out, zip_name + ".part")
with zipfile.ZipFile(tmp, "w") as z:
    for name in names:  # fixed order
        info = zipfile.ZipInfo(name, date_time=stamp)
        info.create_system = 3                 # Unix, so the mode below is what is read
        info.external_attr = 0o100644 << 16    # a plain file, rw-r--r--
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(out, name), "rb") as f:
            z.writestr(info, f.read(), compresslevel=9)
os.replace(tmp, os.path.join(out, zip_name))
PY
  (cd "$dir/out" && sha256sum "$zip_name" "$exe_name" >SHA256SUMS)
}

if [ "$mode" = verify ]; then
  # Two folders of different depth and name, built one after the other.
  a=$(mktemp -d "${TMPDIR:-/tmp}/zarn-release-a.XXXXXX"); temps+=("$a")
  mkdir -p "$repo/build"
  b=$(mktemp -d "$repo/build/zarn-release-verify-b.XXXXXX"); temps+=("$b")
  build "$a"
  sleep 1   # a second later, so a time stamp that slipped through would differ
  build "$b/deeper/folder"
  echo "build 1 ($a):"; sed 's/^/  /' "$a/out/SHA256SUMS"
  echo "build 2 ($b/deeper/folder):"; sed 's/^/  /' "$b/deeper/folder/out/SHA256SUMS"
  if cmp -s "$a/out/SHA256SUMS" "$b/deeper/folder/out/SHA256SUMS"; then
    echo "identical: commit ${commit:0:12}, SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH"
    exit 0
  fi
  echo "DIFFERENT: the two builds of ${commit:0:12} differ" >&2
  exit 1
fi

w=$(mktemp -d "${TMPDIR:-/tmp}/zarn-release.XXXXXX"); temps+=("$w")
build "$w"
mkdir -p dist
# Into place only when complete: never a half-written zip in dist/.
cp "$w/out/$zip_name" "dist/.$zip_name.part" && mv -f "dist/.$zip_name.part" "dist/$zip_name"
cp "$w/out/SHA256SUMS" dist/.SHA256SUMS.part && mv -f dist/.SHA256SUMS.part dist/SHA256SUMS
echo "commit ${commit:0:12}, SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH"
sed 's/^/  /' dist/SHA256SUMS
echo "written: dist/$zip_name, dist/SHA256SUMS"
