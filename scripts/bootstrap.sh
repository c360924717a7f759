#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need.
# Idempotent: does nothing when everything is already there.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix
  g++-mingw-w64-i686-posix
  wine64
  fonts-wine
  xvfb
  xauth
  cmake
  ninja-build
  googletest
  make
  clang-format
  imagemagick
  x11-utils
  xdotool
  libxxhash-dev
  ntfs-3g
  xz-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
