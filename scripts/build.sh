#!/usr/bin/env bash
# Configures (once) and builds the trees: build/native (ASan/UBSan), build/tsan (the core and
# the session's tests under ThreadSanitizer), build/windows (the 32-bit product) and
# build/windows-x64 (its x64 twin, built on every run so that a 64-bit fault shows at once),
# and the release package (scripts/release.sh).
# The CTest run in build/ covers native, tsan and the Windows tree this machine can execute.
# Where that is the x64 twin, the 32-bit tree builds its programs but not its tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
source "$root/scripts/windows-arch.sh"
# The three windows trees share one build of the native build-time tools.
host_tools=(-DKQ_HOST_TOOLS_DIR="$build/host-tools")

configure() { # dir, extra cmake args...
  local dir=$1
  shift
  [ -f "$dir/build.ninja" ] || cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
}

configure "$build/native"
configure "$build/tsan" -DKQ_SANITIZE=thread
configure "$build/windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" "${host_tools[@]}"
configure "$build/windows-x64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
  "${host_tools[@]}"

cmake --build "$build/native"
cmake --build "$build/tsan" --target kq_tests
# The Windows session tests run against the native login server, so build/native comes first.
# Wine must never make a prefix in the home folder, whatever runs it during a build.
targets=()
[ "$KQ_WINDOWS_TREE" = windows ] || targets=(--target kq_programs)
(source "$root/scripts/wine-env.sh" "$build/windows/wineprefix" x86 &&
  cmake --build "$build/windows" "${targets[@]}")
(source "$root/scripts/wine-env.sh" "$build/windows-x64/wineprefix" x64 &&
  cmake --build "$build/windows-x64")

# The release package (build/release, dist/), which the test run checks.
bash "$root/scripts/release.sh"

# One CTest run covers every tree it tests, so the run ends with one summary line.
printf 'subdirs("native" "tsan" "%s")\n' "$KQ_WINDOWS_TREE" >"$build/CTestTestfile.cmake"
