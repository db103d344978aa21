#!/usr/bin/env bash
# The shots of scripts/skin-sheet.sh, on the display xvfb-run gives it.
# Usage: skin-sheet-shots.sh ROOT TREE WORK SHEET x86|x64
set -euo pipefail
root=$1 tree=$2 work=$3 sheet=$4 arch=$5
source "$root/scripts/wine-env.sh" "$work/wineprefix" "$arch"
driver="$tree/bin/KQUiDriver.exe"
ui() { "$KQ_WINE" "$driver" "$@" | tr -d '\r'; }
cd "$work/game"
n=0
failed=0
while IFS= read -r name; do
  n=$((n + 1))
  printf '%s\r\n' '[GUI]' 'Caption=DO Rizura' "Skin=$name" >KQMiniLauncherSettings.ini
  "$KQ_WINE" KQMiniLauncher.exe &
  launcher=$!
  file=$(printf '%s/%02d %s' "$work/shots" "$n" "${name% (internal)}")
  if ui wait TfrmMain 30 >/dev/null; then
    sleep 0.7
    ui screenshot TfrmMain "$file.bmp" >/dev/null || failed=1
    # The settings dialog in every tenth skin.
    if [ $((n % 10)) -eq 1 ]; then
      ui click TfrmMain btnSettings >/dev/null
      if ui wait TfmSettings 10 >/dev/null; then
        sleep 0.7
        ui screenshot TfmSettings "$file - settings.bmp" >/dev/null || failed=1
        ui close TfmSettings >/dev/null || true
      fi
    fi
    ui close TfrmMain >/dev/null || true
  else
    echo "skin-sheet: $name: no main window" >&2
    failed=1
  fi
  for _ in $(seq 150); do kill -0 "$launcher" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$launcher" 2>/dev/null; then
    echo "skin-sheet: $name: the launcher did not close (a message box?)" >&2
    failed=1
    kill "$launcher" 2>/dev/null || true
  fi
  wait "$launcher" || true
done <"$work/names.txt"
for bmp in "$work/shots"/*.bmp; do convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"; done
montage -label '%t' "$work/shots"/*.png -tile 8x -geometry +6+6 -pointsize 11 -font DejaVu-Sans \
  -background '#404040' -fill white "$sheet"
echo "skin-sheet: $n skins, contact sheet $sheet"
exit $failed
