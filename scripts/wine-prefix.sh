#!/usr/bin/env bash
# Creates the Wine prefix of a build tree once: win32 for x86, win64 for x64, no Mono or
# Gecko prompts, and a virtual desktop so that windows get frames and screenshots show them.
# Usage: wine-prefix.sh PREFIX_DIR [x86|x64]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "$1" "${2:-x86}"
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$WINEPREFIX/.kq-ready" ] && exit 0
rm -rf "$WINEPREFIX"
"$KQ_WINE" wineboot -i >/dev/null 2>&1
"$KQ_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$KQ_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
wineserver -w
# Wine's own fonts (Tahoma, and Marlett for the caption buttons) are not found where this
# Wine build looks for them; the prefix's font folder is searched always.
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
touch "$WINEPREFIX/.kq-ready"
