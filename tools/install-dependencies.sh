#!/usr/bin/env bash
# Installs, from Debian's packages, what building and testing Kestrune needs; a no-op when all is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev libbenchmark-dev googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 xvfb xauth x11-utils xdotool xclip imagemagick fonts-wqy-microhei fonts-dejavu-core
  python3 python3-pil
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
