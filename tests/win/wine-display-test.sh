#!/usr/bin/env bash
# Programs of one prefix started without a display share the prefix's one Xvfb: a UI driver
# started on its own finds the launcher started before it, and once both have ended the
# display is stopped.
# Usage: wine-display-test.sh TREE ARCH
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tree=$(realpath -m -- "$1")
arch=$2
unset DISPLAY
# Programs of earlier tests may still keep the prefix's server, on the test run's display.
(source "$root/scripts/wine-env.sh" "$tree/wineprefix" "$arch" && wineserver -w)
run() { bash "$root/scripts/wine-run.sh" "$tree/wineprefix" "$arch" "$@"; }
game=$(mktemp -d)
trap 'rm -rf "$game"' EXIT
mkdir -p "$game/System"
cp "$tree/bin/KQMiniLauncher.exe" "$game/"
(cd "$game" && run KQMiniLauncher.exe) &
launcher=$!

failed=0
if ! run "$tree/bin/KQUiDriver.exe" wait TfrmMain 60 >/dev/null; then
  echo "wine-display: the driver did not find the launcher's window"
  failed=1
fi
display=""
if [ -s "$tree/wineprefix.display" ]; then
  read -r _ display <"$tree/wineprefix.display"
else
  echo "wine-display: no display kept for the prefix while its programs ran"
  failed=1
fi
run "$tree/bin/KQUiDriver.exe" close TfrmMain >/dev/null
code=0
wait "$launcher" || code=$?
[ "$code" -eq 0 ] || { echo "wine-display: the launcher ended with $code"; failed=1; }
for _ in $(seq 100); do  # the keeper stops the display once the prefix's server has ended
  [ -e "$tree/wineprefix.display" ] || break
  sleep 0.2
done
if [ -e "$tree/wineprefix.display" ]; then
  echo "wine-display: display :$display still kept after every program ended"
  failed=1
fi
[ "$failed" -eq 0 ] && echo "wine-display: both programs shared display :$display, stopped afterwards"
exit "$failed"
