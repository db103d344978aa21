#!/usr/bin/env bash
# The run command: installs what is missing, builds, starts the reference login server with
# a demo account (player / secret) and world on a free port, lays out a game folder under
# build/demo and starts the launcher in it under Wine. With a display the player uses it by
# hand; without one (or with --scripted) a scripted run plays under Xvfb: it logs in,
# double-clicks the world, and says where the screenshots, the ticket and the stand-in
# client's report are.
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

portfile=$(mktemp -u "${TMPDIR:-/tmp}/kq-demo-port.XXXXXX")
"$root/build/native/bin/KQLoginServer" --config "$root/scripts/demo-server.conf" --port 0 \
  --port-file "$portfile" --log 2>"$demo/loginserver.log" &
server=$!
stop() {
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -f "$portfile"
}
trap stop EXIT
for _ in $(seq 200); do
  [ -s "$portfile" ] && break
  sleep 0.05
done
[ -s "$portfile" ] || { echo "demo: the login server did not start" >&2; exit 1; }
port=$(cat "$portfile")

printf '%s\r\n' '[GUI]' 'Caption=DO Rizura' 'SkinMenu=1' 'Skin=FM (internal)' \
  '[LoginServer]' 'IP=127.0.0.1' "Port=$port" '[Client]' 'Language=7' \
  >"$game/KQMiniLauncherSettings.ini"
echo "demo: game folder $game"
echo "demo: login server on 127.0.0.1:$port, account player / secret, log $demo/loginserver.log"
# The stand-in client inherits this from the launcher and shows what it received.
export KQ_CLIENT_WINDOW=1

if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != "--scripted" ]; then
  source "$root/scripts/wine-env.sh" "$prefix"
  cd "$game"
  wine KQMiniLauncher.exe
  echo "demo: the launcher has closed; its settings: $game/KQMiniLauncherSettings.ini"
  echo "demo: ticket $game/System/DefaultSet.tmp, client report $game/KQ_Online.report.txt"
  exit 0
fi

xvfb-run -a -s "-screen 0 800x600x24" bash "$root/scripts/demo-scripted.sh" "$root" "$game"
