#!/usr/bin/env bash
# One DPI of dpi-check.sh, on the display xvfb-run gives it: starts the launcher in the game
# folder, prints "WINDOW NAME left top width height" for the named controls of both windows
# and saves screenshots of both.
# Usage: dpi-measure.sh ROOT TREE PREFIX ARCH GAME DPI ARTIFACTS
set -uo pipefail
root=$1 tree=$2 prefix=$3 arch=$4 game=$5 dpi=$6 artifacts=$7
main_controls="edtLogin edtPass btnStart btnSettings lbWorlds lblSelectServer lblError"
settings_controls="ch GroupBox1 CbResolution CbFullScr RgTextures RgDynLight RgGlow RgShadows
  GbSound CbMusic CbEff CbMouseAcc CbTextureDet CbGamma Panel1 btnCancel btnOk"
source "$root/scripts/wine-env.sh" "$prefix" "$arch"
ui() { "$KQ_WINE" "$tree/bin/KQUiDriver.exe" "$@" | tr -d '\r'; }
(cd "$game" && exec "$KQ_WINE" KQMiniLauncher.exe) &
launcher=$!
ui wait TfrmMain 60 >/dev/null || { echo "no main window at $dpi DPI" >&2; exit 1; }
for c in $main_controls; do echo "TfrmMain $c $(ui rect TfrmMain "$c")"; done
sleep 0.5
ui screenshot TfrmMain "$artifacts/dpi-$dpi-main.bmp" >/dev/null
ui click TfrmMain btnSettings >/dev/null
ui wait TfmSettings 30 >/dev/null || { echo "no settings dialog at $dpi DPI" >&2; exit 1; }
for c in $settings_controls; do echo "TfmSettings $c $(ui rect TfmSettings "$c")"; done
sleep 0.5
ui screenshot TfmSettings "$artifacts/dpi-$dpi-settings.bmp" >/dev/null
ui close TfmSettings >/dev/null
sleep 0.3
ui close TfrmMain >/dev/null
wait "$launcher"
wineserver -w
