#!/usr/bin/env bash
# The internal skins at a glance: starts the built launcher under Wine once per internal skin,
# takes what the screen shows of its main window (and of the settings dialog in a few skins)
# and puts them into one contact sheet.
# Usage: skin-sheet.sh [SHEET.png]   (default build/skin-sheet.png; needs scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sheet=$(realpath -m "${1:-$root/build/skin-sheet.png}")
source "$root/scripts/windows-arch.sh"
tree="$root/build/$KQ_WINDOWS_TREE"
[ -f "$tree/bin/KQMiniLauncher.exe" ] || { echo "skin-sheet: build first (bash scripts/build.sh)" >&2; exit 1; }
work="$root/build/skin-sheet"
rm -rf "$work/game" "$work/shots"
mkdir -p "$work/game" "$work/shots"
cp "$tree/bin/KQMiniLauncher.exe" "$work/game/"
# The catalogue's names, in its order.
grep -v '^#' "$root/src/skins/internal/catalogue.txt" | awk -F'|' 'NF > 1 {
  sub(/^[ \t]+/, "", $1); sub(/[ \t]+$/, "", $1); print $1 }' >"$work/names.txt"
# A prefix of its own, on a display of its own.
"$root/scripts/wine-prefix.sh" "$work/wineprefix" "$KQ_WINDOWS_ARCH"
echo "skin-sheet: Windows programs: $KQ_WINDOWS_ARCH ($KQ_WINDOWS_WHY)"
exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$root/scripts/skin-sheet-shots.sh" \
  "$root" "$tree" "$work" "$sheet" "$KQ_WINDOWS_ARCH"
