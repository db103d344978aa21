#!/usr/bin/env bash
# The demo, run by scripts/run.sh once everything is built and the reference login server
# listens on 127.0.0.1:$KQ_LOGIN_SERVER_PORT: lays out a game folder under DEMO_FOLDER and
# starts the launcher in it under Wine. With a display the player uses it by hand; without
# one (or with --scripted) a scripted run plays under Xvfb: it logs in, double-clicks the
# world, and says where the screenshots, the status lines, the ticket and the stand-in
# client's report are.
# Usage: demo.sh DEMO_FOLDER [--scripted]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
demo=$1
port=${KQ_LOGIN_SERVER_PORT:?run through scripts/with-loginserver.sh}
# The tree whose programs this machine runs: 32-bit where it can, else the x64 twin.
source "$root/scripts/windows-arch.sh"
tree="$root/build/$KQ_WINDOWS_TREE"
prefix="$tree/wineprefix"
"$root/scripts/wine-prefix.sh" "$prefix" "$KQ_WINDOWS_ARCH"

game="$demo/game"
rm -rf "$game"
mkdir -p "$game/System"
cp "$tree/bin/KQMiniLauncher.exe" "$tree/bin/KQ_Online.bin" "$game/"
printf '%s\r\n' '[GUI]' 'Caption=DO Rizura' 'SkinMenu=1' 'Skin=FM (internal)' \
  '[LoginServer]' 'IP=127.0.0.1' "Port=$port" '[Client]' 'Language=7' \
  >"$game/KQMiniLauncherSettings.ini"
echo "demo: Windows programs: $KQ_WINDOWS_ARCH ($KQ_WINDOWS_WHY)"
echo "demo: game folder $game"
echo "demo: login server on 127.0.0.1:$port, account player / secret${KQ_LOGIN_SERVER_LOG:+, log $KQ_LOGIN_SERVER_LOG}"
# The stand-in client inherits this from the launcher and shows what it received.
export KQ_CLIENT_WINDOW=1

if [ -n "${DISPLAY:-}" ] && [ "${2:-}" != "--scripted" ]; then
  source "$root/scripts/wine-env.sh" "$prefix" "$KQ_WINDOWS_ARCH"
  cd "$game"
  "$KQ_WINE" KQMiniLauncher.exe
  echo "demo: the launcher has closed; its settings: $game/KQMiniLauncherSettings.ini"
  echo "demo: ticket $game/System/DefaultSet.tmp, client report $game/KQ_Online.report.txt"
  exit 0
fi

# A scripted run plays on the display there is (the test run's Xvfb, which the other Wine
# programs of the prefix use too), or on an Xvfb of its own.
if [ -n "${DISPLAY:-}" ]; then
  exec bash "$root/scripts/demo-scripted.sh" "$root" "$demo"
fi
exec xvfb-run -a -s "-screen 0 800x600x24" bash "$root/scripts/demo-scripted.sh" "$root" "$demo"
