#!/usr/bin/env bash
# Configures (once) and builds the trees: build/native (ASan/UBSan), build/tsan (the core and
# the session's tests under ThreadSanitizer) and build/windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

configure() { # dir, extra cmake args...
  local dir=$1
  shift
  [ -f "$dir/build.ninja" ] || cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
}

configure "$build/native"
configure "$build/tsan" -DKQ_SANITIZE=thread
configure "$build/windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"

# Wine must never make a prefix in the home folder, whatever runs it during the build.
source "$root/scripts/wine-env.sh" "$build/windows/wineprefix"

cmake --build "$build/native"
cmake --build "$build/tsan" --target kq_tests
# The Windows session tests run against the native login server, so build/native comes first.
cmake --build "$build/windows"

# One CTest run covers every tree, so the run ends with one summary line.
printf 'subdirs("native" "tsan" "windows")\n' >"$build/CTestTestfile.cmake"
