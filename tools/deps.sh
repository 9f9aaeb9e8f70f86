#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quick and quiet
# when they are already there.
set -euo pipefail
packages=(cmake g++ make googletest libgtest-dev g++-mingw-w64-x86-64 wine64 xvfb xauth xdotool
          imagemagick python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
