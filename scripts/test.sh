#!/usr/bin/env bash
# The test command: installs what is missing, builds both trees and runs every test,
# the native ones directly and the Windows ones under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
"$root/scripts/wine-prefix.sh" "$root/build/windows/wineprefix"
cd "$root/build"
args=(--output-on-failure -j "$(nproc)" "$@")
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" ctest "${args[@]}"
fi
exec ctest "${args[@]}"
