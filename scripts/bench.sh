#!/usr/bin/env bash
# Every performance figure in one run, each as a ratio against its yardstick, printed at the
# end as one table (pair, N, median, minimum, maximum, ratio of the medians):
# - portable, with Google Benchmark (build/bench: native, optimised, no sanitizers): reading
#   the internal skin packages and the main window's form against plain zlib inflation;
# - under Wine: start to the first painted main window and peak resident memory of the
#   release launcher against an empty-window program, started alternately in a small game
#   folder whose login server address nothing listens on;
# - the processor time each of the two takes while it idles with its window shown, read from
#   its Linux process (Wine's GetProcessTimes does not follow another process).
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

# Idle: each program started 3 more times and left alone; its user and system time over
# 5 s, from /proc, after 3 s to show its window. The kernel counts in ticks of 10 ms.
idle_runs=3 idle_s=5
idle_ms() { # exe: prints the processor time in ms one run took while idle
  local exe=$1 pid before after
  (cd "$game" && exec "$root/scripts/wine-run.sh" "$wdir/wineprefix" "$KQ_WINDOWS_ARCH" \
    "$exe") >/dev/null 2>&1 &
  sleep 3
  pid=$(pgrep -n -f "^$exe") || { echo "bench: $exe did not start" >&2; return 1; }
  ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
  before=$(ticks)
  sleep "$idle_s"
  after=$(ticks)
  kill "$pid"
  wait
  echo $(((after - before) * 1000 / $(getconf CLK_TCK)))
}
for i in $(seq "$idle_runs"); do
  echo "$(idle_ms KQMiniLauncher.exe) $(idle_ms KQEmptyWindow.exe)"
done >"$out/idle.txt"
awk -v n="$idle_runs" -v s="$idle_s" '
  function spread(v, k,   i, j, t) { # median, min, max of v[1..k]
    for (i = 1; i <= k; i++) for (j = i + 1; j <= k; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
    return (k % 2 ? v[(k + 1) / 2] : (v[k / 2] + v[k / 2 + 1]) / 2) "|" v[1] "|" v[k]
  }
  { a[NR] = $1; b[NR] = $2 }
  END {
    split(spread(a, NR), x, "|"); split(spread(b, NR), y, "|")
    printf "| processor time while idle with the window shown (over %d s), KQMiniLauncher.exe vs KQEmptyWindow.exe | %d | %s / %s ms | %s / %s ms | %s / %s ms | %s |\n",
      s, n, x[1], y[1], x[2], y[2], x[3], y[3], (y[1] > 0 ? sprintf("%.2fx", x[1] / y[1]) : "n/a")
  }' "$out/idle.txt" >"$out/idle-row.txt"

echo
echo "bench: every ratio ($KQ_WINDOWS_ARCH Windows programs under Wine, portable ones natively)"
grep -h '^| pair' "$out/portable.txt" "$out/startup.txt" | head -n1
grep -h '^|---' "$out/portable.txt" "$out/startup.txt" | head -n1
grep -h '^| ' "$out/portable.txt" "$out/startup.txt" "$out/idle-row.txt" | grep -v '^| pair'
