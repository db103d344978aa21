#!/usr/bin/env bash
# The test command: installs what is missing, builds every tree and runs every test, the
# native ones directly and the Windows ones under Wine, in the architecture this machine
# executes (32-bit, else the x64 twin; KQ_WINDOWS_ARCH=x64 forces the twin).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
source "$root/scripts/windows-arch.sh"
"$root/scripts/wine-prefix.sh" "$root/build/$KQ_WINDOWS_TREE/wineprefix" "$KQ_WINDOWS_ARCH"
echo "Windows tests: $KQ_WINDOWS_ARCH ($KQ_WINDOWS_WHY)"
cd "$root/build"
args=(--output-on-failure -j "$(nproc)" "$@")
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" ctest "${args[@]}"
fi
exec ctest "${args[@]}"
