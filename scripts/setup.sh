#!/usr/bin/env bash
# Installs what the builds, the tests and the demo need, from Debian's archive.
# Does nothing when everything is already there, so it is cheap to run every time.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  zlib1g-dev googletest libbenchmark-dev
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev
  wine wine64 wine32:i386
  xvfb xauth imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages (${missing[*]}); run as root to install them" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
