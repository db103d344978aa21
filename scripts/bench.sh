#!/usr/bin/env bash
# Builds the benchmarks without sanitizers, optimised, in build/bench, and runs them.
# Usage: scripts/bench.sh [benchmark flags...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
dir="$root/build/bench"
[ -f "$dir/build.ninja" ] || cmake -S "$root" -B "$dir" -G Ninja -DKQ_SANITIZE=none \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" --target kq_benchmarks
exec "$dir/bench/resources/kq_benchmarks" "$@"
