#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan, UBSan) in build/fuzz and runs each one,
# starting from its seeds in fuzz/seeds/<target> and the corpus of earlier runs. A large
# allocation counts as a finding: hostile sizes must be refused before memory is taken for
# them. Findings land in build/fuzz/findings; each one becomes a seed and a test.
#
# Usage: fuzz.sh [SECONDS_PER_TARGET] [TARGET...]        (default: 60 s, every target)
#        fuzz.sh --runs N [--jobs J] [--keep] [TARGET...]
#   --runs N   a campaign: at least N executions per target, in J parallel workers
#   --keep     then add what of the corpus gives new coverage to fuzz/seeds/<target>, so
#              the next campaign starts where this one stopped
# Each target ends with a line: executions, coverage (edges), corpus size, findings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
seconds=60
runs=0
jobs=1
keep=0
targets=()
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --keep) keep=1; shift ;;
    [0-9]*) seconds=$1; shift ;;
    *) targets+=("$1"); shift ;;
  esac
done
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(ls "$root/fuzz/seeds")
fi

[ -f "$build/build.ninja" ] ||
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DKQ_FUZZ=ON >/dev/null
cmake --build "$build" --target "${targets[@]}"

for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  logs="$build/logs/$t"
  mkdir -p "$corpus" "$build/findings" "$logs"
  rm -f "$logs"/*
  dict=()
  [ -f "$root/fuzz/$t.dict" ] && dict=(-dict="$root/fuzz/$t.dict")
  # Freed memory stays with the process: once its resident size passed half the limit,
  # libFuzzer would hand it all back to the system every second and fault it in again, and
  # the kernel's work took three quarters of the time. Campaigns run at the lowest priority
  # beside builds, so only a unit that takes a minute of wall time is reported as slow.
  common=("${dict[@]}" -max_len=65536 -malloc_limit_mb=64 -rss_limit_mb=2048
    -purge_allocator_interval=-1 -report_slow_units=60
    -artifact_prefix="$build/findings/$t-" -print_final_stats=1)
  before=$(ls "$build/findings" | grep -c "^$t-" || true)
  if [ "$runs" -gt 0 ]; then
    echo "fuzz: $t, $runs executions in $jobs worker(s)"
    per=$(((runs + jobs - 1) / jobs))
    for j in $(seq "$jobs"); do
      "$build/fuzz/$t" "${common[@]}" -runs="$per" -seed="$j" "$corpus" "$root/fuzz/seeds/$t" \
        >"$logs/worker-$j.log" 2>&1 &
    done
    status=0
    wait || status=$?
  else
    echo "fuzz: $t for $seconds s"
    status=0
    "$build/fuzz/$t" "${common[@]}" -max_total_time="$seconds" "$corpus" \
      "$root/fuzz/seeds/$t" >"$logs/worker-1.log" 2>&1 || status=$?
  fi
  executions=$(cat "$logs"/*.log | sed -n 's/^stat::number_of_executed_units: //p' |
    awk '{s += $1} END {print s + 0}')
  coverage=$(cat "$logs"/*.log | grep -o 'cov: [0-9]*' | awk '{if ($2 > m) m = $2} END {print m + 0}')
  after=$(ls "$build/findings" | grep -c "^$t-" || true)
  if [ "$keep" = 1 ] && [ "$after" = "$before" ]; then
    # Only what adds coverage joins the seeds; the named seeds the tests read stay.
    "$build/fuzz/$t" "${dict[@]}" -max_len=65536 -merge=1 "$root/fuzz/seeds/$t" "$corpus" \
      >"$logs/merge.log" 2>&1
  fi
  printf 'fuzz: %s: %s executions, coverage %s edges, %s seeds, %s new findings%s\n' "$t" \
    "$executions" "$coverage" "$(ls "$root/fuzz/seeds/$t" | wc -l)" "$((after - before))" \
    "$([ "$status" = 0 ] || echo " (exit $status: see $logs)")"
done
