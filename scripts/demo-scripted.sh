#!/usr/bin/env bash
# The scripted demo run, on the display xvfb-run gives it: the launcher comes up, the player
# types the demo account and presses Start, the world appears, a double-click enters it, the
# stand-in client starts and the launcher fades out. Screenshots along the way; the
# launcher's status lines are taken by a debug viewer and by Wine's debugstr trace.
# Usage: demo-scripted.sh ROOT DEMO_FOLDER (the game folder is DEMO_FOLDER/game); the tree
# and architecture come from demo.sh (KQ_WINDOWS_TREE, KQ_WINDOWS_ARCH).
set -euo pipefail
root=$1
demo=$2
game="$demo/game"
shots="$demo/screenshots"
rm -rf "$shots"
mkdir -p "$shots"
tree="$root/build/${KQ_WINDOWS_TREE:?run through scripts/demo.sh}"
source "$root/scripts/wine-env.sh" "$tree/wineprefix" "$KQ_WINDOWS_ARCH"
driver="$tree/bin/KQUiDriver.exe"
ui() { "$KQ_WINE" "$driver" "$@" | tr -d '\r'; }
shot() { import -window root "$shots/$1.png"; }

cd "$game"
WINEDEBUG=-all,warn+debugstr "$KQ_WINE" KQMiniLauncher.exe 2>"$demo/launcher-debugstr.log" &
launcher=$!
ui wait TfrmMain 30 >/dev/null
rm -f "$demo/debugview.txt"
ui debugview TfrmMain 5 >"$demo/launcher-status.txt" 2>"$demo/debugview.txt" &
viewer=$!
for _ in $(seq 100); do  # the viewer says on its error output once it follows the launcher
  [ -s "$demo/debugview.txt" ] && break
  sleep 0.1
done
sleep 1  # let the window finish painting
shot 01-ready
ui settext TfrmMain edtLogin player >/dev/null
ui settext TfrmMain edtPass secret >/dev/null
ui click TfrmMain btnStart >/dev/null
worlds=""
for _ in $(seq 60); do
  worlds=$(ui items TfrmMain lbWorlds || true)
  [ -n "$worlds" ] && break
  sleep 0.5
done
[ -n "$worlds" ] || { echo "demo: no world list came" >&2; ui close TfrmMain || true; exit 1; }
echo "demo: worlds listed: $worlds"
sleep 0.5
shot 02-world-listed
ui dblclick TfrmMain lbWorlds 0 >/dev/null
sleep 1.5  # the entry is done and the launcher says goodbye before fading
shot 03-entered
code=0
wait "$launcher" || code=$?
echo "demo: launcher exited with code $code"
wait "$viewer" || true
if ui wait TKQStandInClient 10 >/dev/null 2>&1; then
  sleep 1
  shot 04-client
  ui close TKQStandInClient >/dev/null || true
fi
echo "demo: screenshots: $shots"
echo "demo: the launcher's status lines, as a debug viewer took them: $demo/launcher-status.txt"
cat "$demo/launcher-status.txt"
echo "demo: the same lines in Wine's trace (WINEDEBUG=warn+debugstr): $demo/launcher-debugstr.log"
echo "demo: ticket: $game/System/DefaultSet.tmp"
if [ -x "$root/build/native/tools/kq-ticket" ]; then
  "$root/build/native/tools/kq-ticket" decode "$game/System/DefaultSet.tmp" || true
fi
echo "demo: stand-in client's report: $game/KQ_Online.report.txt"
cat "$game/KQ_Online.report.txt" 2>/dev/null || echo "demo: (no report)"
echo "demo: settings after close: $game/KQMiniLauncherSettings.ini"
