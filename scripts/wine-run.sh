#!/usr/bin/env bash
# Runs one Windows program under Wine with the build tree's prefix; CTest uses it as the
# cross-compiling emulator. Without a display the program gets the prefix's own Xvfb, shared
# by every program of that prefix (scripts/wine-display.sh).
# Usage: wine-run.sh PREFIX_DIR x86|x64 PROGRAM.exe [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
arch=$2
shift 2
"$here/wine-prefix.sh" "$prefix" "$arch"
source "$here/wine-env.sh" "$prefix" "$arch"
[ -n "${DISPLAY:-}" ] || source "$here/wine-display.sh"
exec "$KQ_WINE" "$@"
