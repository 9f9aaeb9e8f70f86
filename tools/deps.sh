#!/usr/bin/env bash
# Installs the Debian packages that our scripts (tools/, bench/, tests/) run,
# then checks every command they call and every font family the panel's
# stand-in faces come from. A package being installed proves nothing: what is
# run is looked up, and a missing one stops this script with one line naming
# it and the package that provides it. Quick and quiet when all is there.
set -euo pipefail

# command or file, then the Debian package that provides it
needs=(
  cmake cmake                 ctest cmake
  g++ g++                     make make
  /usr/src/googletest/googletest/CMakeLists.txt googletest
  x86_64-w64-mingw32-g++ g++-mingw-w64-x86-64
  x86_64-w64-mingw32-gcc gcc-mingw-w64-x86-64
  x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64
  wine wine                   wineboot wine
  wineserver wine             winepath wine
  Xvfb xvfb                   xvfb-run xvfb
  xauth xauth                 xdotool xdotool
  import imagemagick          convert imagemagick
  /usr/bin/python3 python3    git git
  /usr/lib/python3/dist-packages/pefile.py python3-pefile
  /usr/lib/python3/dist-packages/fontTools/ttLib/__init__.py python3-fonttools
  sha256sum coreutils         timeout coreutils
  strace strace               setpriv util-linux
  bc bc                       clang++ clang
  fc-list fontconfig          mmdebstrap mmdebstrap
  locale libc-bin
  /usr/share/wine/fonts/sserife.fon fonts-wine
)
# font family, then the package that provides it
fonts=(
  "DejaVu Sans" fonts-dejavu-core
  "DejaVu Sans Condensed" fonts-dejavu-extra
  "Liberation Sans" fonts-liberation2
  "Nimbus Sans Narrow" fonts-urw-base35
  "Z003" fonts-urw-base35
)

missing() {  # prints "what package" for each thing that is not there
  local i what
  for ((i = 0; i < ${#needs[@]}; i += 2)); do
    what=${needs[i]}
    if [[ $what == /* ]]; then [ -e "$what" ] && continue
    else command -v "$what" >/dev/null && continue; fi
    echo "$what ${needs[i + 1]}"
  done
  local families=""
  command -v fc-list >/dev/null && families=$(fc-list : family | tr ',' '\n' | sort -u)
  for ((i = 0; i < ${#fonts[@]}; i += 2)); do
    grep -qFx "${fonts[i]}" <<<"$families" || echo "font:${fonts[i]// /_} ${fonts[i + 1]}"
  done
}

gaps=$(missing)
[ -z "$gaps" ] && exit 0

packages=$(awk '{print $2}' <<<"$gaps" | sort -u | tr '\n' ' ')
echo "Installing: $packages"
sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
# A failing apt-get says why above; the check below then names what is missing.
$sudo apt-get update -qq || true
# shellcheck disable=SC2086 # one word per package
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $packages >/dev/null || true

gaps=$(missing)
if [ -n "$gaps" ]; then
  echo "missing after install: $(awk '{printf "%s%s (package %s)", (NR > 1 ? ", " : ""), $1, $2}' <<<"$gaps")" >&2
  exit 1
fi
