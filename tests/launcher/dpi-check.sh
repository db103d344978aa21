#!/usr/bin/env bash
# Both windows at 100, 125, 150 and 200 %: a copy of the tree's prefix per DPI (LogPixels 96,
# 120, 144, 192), the launcher started in it, and every named control's place and size read
# back: each must be its 96-DPI place and size times the scale (rounded as MulDiv rounds).
# The top-aligned controls sit inside a bevel that stays one pixel wide, so every value may be
# off by two pixels; the labels that size themselves to their text are checked for place only.
# Screenshots of both windows go to the tree's artifacts folder.
# Usage: dpi-check.sh TREE ARCH
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tree=$(realpath -m -- "$1")
arch=$2
unset DISPLAY
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts="$tree/artifacts"
mkdir -p "$artifacts"
autosized="lblSelectServer lblError"
# Makes sure the tree's prefix exists before it is copied.
bash "$root/scripts/wine-prefix.sh" "$tree/wineprefix" "$arch"
(source "$root/scripts/wine-env.sh" "$tree/wineprefix" "$arch" && wineserver -w)

# Writes "WINDOW NAME left top width height" lines for both windows at one DPI.
measure() { # dpi out
  local dpi=$1 out=$2 prefix="$work/prefix-$1" game="$work/game-$1"
  cp -a "$tree/wineprefix" "$prefix"
  mkdir -p "$game/System"
  cp "$tree/bin/KQMiniLauncher.exe" "$game/"
  (
    source "$root/scripts/wine-env.sh" "$prefix" "$arch"
    "$KQ_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
    "$KQ_WINE" reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f
    "$KQ_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1300 /f
    wineserver -w
  ) >/dev/null 2>&1
  # A desktop and a screen large enough for the dialog at 200 %.
  xvfb-run -a -s "-screen 0 1600x1300x24" bash "$root/tests/launcher/dpi-measure.sh" \
    "$root" "$tree" "$prefix" "$arch" "$game" "$dpi" "$artifacts" >"$out"
}

failed=0
measure 96 "$work/96.txt" || failed=1
for dpi in 120 144 192; do
  measure "$dpi" "$work/$dpi.txt" || { failed=1; continue; }
  # MulDiv rounds half away from zero: (v * dpi + 48) / 96 for the positive values here.
  if ! awk -v dpi="$dpi" -v autosized="$autosized" '
      BEGIN { n = split(autosized, a, " "); for (i = 1; i <= n; ++i) placeOnly[a[i]] = 1 }
      NR == FNR { base[$1 " " $2] = $3 " " $4 " " $5 " " $6; next }
      { split(base[$1 " " $2], b, " "); wrong = 0; want = ""
        for (i = 1; i <= 4; ++i) {
          w = int((b[i] * dpi + 48) / 96); want = want (i > 1 ? " " : "") w
          d = $(i + 2) - w
          if ((i <= 2 || !($2 in placeOnly)) && (d > 2 || d < -2)) wrong = 1
        }
        if (NF < 6 || wrong) {
          printf "%d DPI: %s %s at %s %s %s %s, want %s\n", dpi, $1, $2, $3, $4, $5, $6, want; bad = 1
        } }
      END { exit bad }' "$work/96.txt" "$work/$dpi.txt"; then
    failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "dpi-check: both windows scale at 120, 144 and 192 DPI"
exit "$failed"
