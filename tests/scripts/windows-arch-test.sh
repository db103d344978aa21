#!/usr/bin/env bash
# The choice of the Windows architecture, made by trying a 32-bit loader: a table of fake
# loaders (one the kernel refuses, one that fails, one that runs, none at all) and of forced
# choices, each with the architecture, tree and reason it must give.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
arch_script="$here/../../scripts/windows-arch.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A loader the kernel cannot execute: an ELF header for a machine that does not exist here.
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\377\377' >"$work/refused"
chmod +x "$work/refused"
printf '#!/bin/sh\necho wine-8.0\n' >"$work/runs"
printf '#!/bin/sh\nexit 3\n' >"$work/fails"
chmod +x "$work/runs" "$work/fails"

failed=0
check() {  # forced loader -> expected arch, tree, reason
  local forced=$1 loader=$2 arch=$3 tree=$4 why=$5 got
  got=$(env -u KQ_WINDOWS_ARCH ${forced:+KQ_WINDOWS_ARCH=$forced} KQ_WINE32_LOADER="$loader" \
    bash -c 'source "$1" && echo "$KQ_WINDOWS_ARCH|$KQ_WINDOWS_TREE|$KQ_WINDOWS_WHY"' _ \
    "$arch_script" 2>&1)
  if [ "$got" != "$arch|$tree|$why" ]; then
    echo "FAIL: forced='$forced' loader=$(basename "$loader"): got '$got', want '$arch|$tree|$why'"
    failed=1
  fi
}
check "" "$work/refused" x64 windows-x64 "this machine cannot execute 32-bit programs"
check "" "$work/missing" x64 windows-x64 "no 32-bit Wine loader at $work/missing"
check "" "$work/fails" x64 windows-x64 "the 32-bit Wine loader failed (exit code 3)"
check "" "$work/runs" x86 windows "this machine executes 32-bit programs"
check x64 "$work/runs" x64 windows-x64 "forced by KQ_WINDOWS_ARCH=x64"
check x86 "$work/refused" x86 windows "forced by KQ_WINDOWS_ARCH=x86"

# A choice that is neither is refused with a clear message, not taken as a default.
out=$(KQ_WINDOWS_ARCH=arm bash -c 'source "$1"; echo "status $?"' _ "$arch_script" 2>&1)
if [[ "$out" != *'KQ_WINDOWS_ARCH must be x86 or x64, not "arm"'* ]] || [[ "$out" == *"status 0"* ]]; then
  echo "FAIL: KQ_WINDOWS_ARCH=arm gave: $out"
  failed=1
fi
[ "$failed" -eq 0 ] && echo "windows-arch: every case gave its architecture"
exit "$failed"
