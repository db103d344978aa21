#!/usr/bin/env bash
# Starts the released launcher once, as a player would after unpacking it, until its main
# window shows, then closes it: it must end with exit code 0. Only where this machine runs
# 32-bit programs (the release is the 32-bit product); elsewhere the test is skipped (77).
# Usage: release-start.sh PACKAGE.zip WINDOWS_TREE ARCH (ARCH: x86, or x64 to try the script
# itself against the x64 twin's launcher in WINDOWS_TREE instead of the package's)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
zip=$(realpath -m -- "$1")
tree=$(realpath -m -- "$2")
arch=$3
if [ "$arch" = x86 ]; then
  source "$root/scripts/windows-arch.sh"
  if [ "$KQ_WINDOWS_ARCH" != x86 ]; then
    echo "release-start: skipped, $KQ_WINDOWS_WHY"
    exit 77
  fi
fi
# Without a display, the whole check runs again on an Xvfb of its own.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip") || { echo "release-start: $zip does not unpack"; exit 1; }
game="$work/$(basename "$zip" .zip)"
[ "$arch" = x86 ] || cp "$tree/bin/KQMiniLauncher.exe" "$game/"

"$root/scripts/wine-prefix.sh" "$tree/wineprefix" "$arch"
source "$root/scripts/wine-env.sh" "$tree/wineprefix" "$arch"
run() {
  cd "$game"
  "$KQ_WINE" KQMiniLauncher.exe &
  local launcher=$!
  if ! "$KQ_WINE" "$tree/bin/KQUiDriver.exe" wait TfrmMain 60 >/dev/null; then
    echo "release-start: no main window within 60 s"
    kill "$launcher" 2>/dev/null
    return 1
  fi
  "$KQ_WINE" "$tree/bin/KQUiDriver.exe" close TfrmMain >/dev/null
  local code=0
  wait "$launcher" || code=$?
  echo "release-start: the launcher showed its main window and ended with exit code $code"
  [ "$code" -eq 0 ]
}
run
