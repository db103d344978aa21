#!/usr/bin/env bash
# The run command: installs what is missing, builds, lays out a game folder under
# build/demo and starts the launcher in it under Wine. With a display the player uses it
# by hand; without one (or with --scripted) a scripted run plays under Xvfb and leaves
# screenshots behind.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
prefix="$root/build/windows/wineprefix"
"$root/scripts/wine-prefix.sh" "$prefix"

demo="$root/build/demo"
game="$demo/game"
rm -rf "$game"
mkdir -p "$game/System"
cp "$root/build/windows/bin/KQMiniLauncher.exe" "$root/build/windows/bin/KQ_Online.bin" "$game/"
printf '%s\r\n' '[GUI]' 'Caption=DO Rizura' 'SkinMenu=1' 'Skin=FM (internal)' \
  '[LoginServer]' 'IP=127.0.0.1' 'Port=10001' '[Client]' 'Language=7' \
  >"$game/KQMiniLauncherSettings.ini"
echo "demo: game folder $game"
# The stand-in client inherits this from the launcher and shows what it received.
export KQ_CLIENT_WINDOW=1

if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != "--scripted" ]; then
  source "$root/scripts/wine-env.sh" "$prefix"
  cd "$game"
  wine KQMiniLauncher.exe
  echo "demo: the launcher has closed; its settings: $game/KQMiniLauncherSettings.ini"
  exit 0
fi

exec xvfb-run -a -s "-screen 0 800x600x24" bash "$root/scripts/demo-scripted.sh" "$root" "$game"
