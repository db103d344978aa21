#!/usr/bin/env bash
# The scripted demo run, on the display xvfb-run gives it: the launcher comes up, a
# screenshot is taken, the launcher is closed as a player closes it.
# Usage: demo-scripted.sh ROOT GAME_FOLDER
set -euo pipefail
root=$1
game=$2
shots="$root/build/demo/screenshots"
mkdir -p "$shots"
source "$root/scripts/wine-env.sh" "$root/build/windows/wineprefix"
driver="$root/build/windows/bin/KQUiDriver.exe"

cd "$game"
wine KQMiniLauncher.exe &
launcher=$!
wine "$driver" wait TfrmMain 30
sleep 1  # let the window finish painting
import -window root "$shots/01-main-window.png"
echo "demo: main window caption: $(wine "$driver" text TfrmMain)"
echo "demo: Start button: $(wine "$driver" text TfrmMain btnStart), enabled: $(wine "$driver" enabled TfrmMain btnStart)"
# The settings dialog, shown for a picture of its layout.
wine "$driver" show TfmSettings
sleep 1
import -window root "$shots/02-settings-dialog.png"
wine "$driver" close TfmSettings
wine "$driver" close TfrmMain
code=0
wait "$launcher" || code=$?
echo "demo: launcher exited with code $code"
echo "demo: screenshots: $shots/01-main-window.png $shots/02-settings-dialog.png"
echo "demo: settings after close: $game/KQMiniLauncherSettings.ini"
