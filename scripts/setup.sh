#!/usr/bin/env bash
# Installs what the builds, the tests and the demo need, from Debian's archive.
# Does nothing when everything is already there, so it is cheap to run every time.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  zlib1g-dev libpng-dev googletest libbenchmark-dev
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix
  wine wine64 wine32:i386
  fonts-wine xvfb xauth imagemagick locales
  clang libclang-rt-dev
)

# Wine runs under the Russian locale: it gives code page 1251, and only a generated
# locale lets Wine name files in Cyrillic (without it such names cannot be created).
have_locale() { locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; }

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && have_locale && exit 0

if [ "$(id -u)" -ne 0 ]; then  # installing needs root
  echo "setup: missing packages (${missing[*]}); run as root to install them" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if ! have_locale; then
  echo "setup: generating the ru_RU.UTF-8 locale"
  localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
