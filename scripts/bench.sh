#!/usr/bin/env bash
# Every performance figure in one run, each as a ratio against its yardstick, printed at the
# end as one table (pair, N, median, minimum, maximum, ratio of the medians):
# - portable, with Google Benchmark (build/bench: native, optimised, no sanitizers): reading
#   the internal skin packages and the main window's form against plain zlib inflation;
# - under Wine: start to the first painted main window and peak resident memory of the
#   release launcher against an empty-window program, started alternately in a small game
#   folder whose login server address nothing listens on.
# The Windows programs follow the tests' architecture rule (scripts/windows-arch.sh): a tree
# configured as scripts/release.sh configures its own (optimised, stripped), for x86 in
# build/bench-windows, for the x64 twin in build/bench-windows-x64.
# Measured by hand, never by the test run.
# Usage: scripts/bench.sh [--runs N] [Google Benchmark flags...]   (N defaults to 15)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
runs=15
flags=()
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --runs=*) runs=${1#--runs=}; shift ;;
    *) flags+=("$1"); shift ;;
  esac
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

dir="$root/build/bench"
[ -f "$dir/build.ninja" ] || cmake -S "$root" -B "$dir" -G Ninja -DKQ_SANITIZE=none \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" --target kq_benchmarks
"$dir/bench/resources/kq_benchmarks" --benchmark_repetitions="$runs" "${flags[@]}" |
  tee "$out/portable.txt"

source "$root/scripts/windows-arch.sh"
if [ "$KQ_WINDOWS_ARCH" = x64 ]; then
  wdir="$root/build/bench-windows-x64" toolchain="$root/cmake/mingw-x86_64.cmake"
else
  wdir="$root/build/bench-windows" toolchain="$root/cmake/mingw-i686.cmake"
fi
echo "bench: Windows programs: $KQ_WINDOWS_ARCH ($KQ_WINDOWS_WHY), release build in $wdir"
[ -f "$wdir/build.ninja" ] || cmake -S "$root" -B "$wdir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_EXE_LINKER_FLAGS=-s >/dev/null
(source "$root/scripts/wine-env.sh" "$wdir/wineprefix" "$KQ_WINDOWS_ARCH" &&
  cmake --build "$wdir" --target KQMiniLauncher KQEmptyWindow KQStartupBench)
# Both programs start in the same game folder, with the configuration as shipped: its
# login server (127.0.0.1:10001) is not running, and the window shows without it.
game="$wdir/bench-game"
rm -rf "$game"
mkdir -p "$game"
cp "$wdir/bin/KQMiniLauncher.exe" "$wdir/bin/KQEmptyWindow.exe" \
  "$root/release/KQMiniLauncherSettings.ini" "$game/"
windows_path() { local p=$1; echo "Z:${p//\//\\}"; }
"$root/scripts/wine-run.sh" "$wdir/wineprefix" "$KQ_WINDOWS_ARCH" "$wdir/bin/KQStartupBench.exe" \
  --runs "$runs" "$(windows_path "$game/KQMiniLauncher.exe")" \
  "$(windows_path "$game/KQEmptyWindow.exe")" | tr -d '\r' | tee "$out/startup.txt"

echo
echo "bench: every ratio ($KQ_WINDOWS_ARCH Windows programs under Wine, portable ones natively)"
grep -h '^| pair' "$out/portable.txt" "$out/startup.txt" | head -n1
grep -h '^|---' "$out/portable.txt" "$out/startup.txt" | head -n1
grep -h '^| ' "$out/portable.txt" "$out/startup.txt" | grep -v '^| pair'
