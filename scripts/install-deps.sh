#!/usr/bin/env bash
# Installs the Debian packages that building and testing need; does nothing when all are there.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang-14 libclang-rt-14-dev clang-format libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 xvfb xdotool imagemagick
  fonts-wqy-microhei locales nsis zip
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
