#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan, UBSan) in build/fuzz and runs each one
# for a while, starting from its seeds in fuzz/seeds/<target>. A large allocation counts
# as a finding: hostile sizes must be refused before memory is taken for them.
# Usage: fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default: 60 s, every target)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(ls "$root/fuzz/seeds")
fi

[ -f "$build/build.ninja" ] ||
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DKQ_FUZZ=ON >/dev/null
cmake --build "$build" --target "${targets[@]}"

for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus" "$build/findings"
  dict=()
  [ -f "$root/fuzz/$t.dict" ] && dict=(-dict="$root/fuzz/$t.dict")
  echo "fuzz: $t for $seconds s"
  "$build/fuzz/$t" "${dict[@]}" -max_total_time="$seconds" -max_len=65536 \
    -malloc_limit_mb=64 -rss_limit_mb=1024 -artifact_prefix="$build/findings/$t-" \
    -print_final_stats=1 "$corpus" "$root/fuzz/seeds/$t"
done
