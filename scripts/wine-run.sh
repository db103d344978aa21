#!/usr/bin/env bash
# Runs one Windows program under Wine with the build tree's prefix; CTest uses it as the
# cross-compiling emulator. Without a display the program gets a private Xvfb.
# Usage: wine-run.sh PREFIX_DIR PROGRAM.exe [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
shift
"$here/wine-prefix.sh" "$prefix"
source "$here/wine-env.sh" "$prefix"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" wine "$@"
fi
exec wine "$@"
