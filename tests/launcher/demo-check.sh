#!/usr/bin/env bash
# Plays the scripted demo (the run command without a display) into a folder of its own and
# checks what a player and a tester would look at: the world listed, the launcher gone with
# exit code 0, the ticket and the stand-in client's report checked, the screenshots, and the
# status lines both in a debug viewer and in Wine's debugstr trace.
# Usage: demo-check.sh LOGIN_SERVER DEMO_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
server=$1
demo=$2
rm -rf "$demo"
mkdir -p "$demo"
out="$demo/demo-output.txt"
if ! KQ_LOGIN_SERVER_LOG="$demo/loginserver.log" bash "$root/scripts/with-loginserver.sh" \
  "$server" --config "$root/scripts/demo-server.conf" --log -- \
  bash "$root/scripts/demo.sh" "$demo" --scripted >"$out" 2>&1; then
  cat "$out"
  echo "demo-check: the demo failed"
  exit 1
fi

failed=0
expect() {  # FILE TEXT [COUNT]: the text occurs on at least COUNT lines of the file
  local found
  found=$(grep -acF -- "$2" "$1" || true)
  if [ "$found" -lt "${3:-1}" ]; then
    echo "demo-check: $1 has \"$2\" on $found lines, expected ${3:-1}"
    failed=1
  fi
}
expect "$out" "demo: worlds listed:  Ризура"
expect "$out" "demo: launcher exited with code 0"
expect "$out" "Check: ok" 2  # the ticket as written, and as the client read it
expect "$out" "Title: DO Rizura ("
status="$demo/launcher-status.txt"
expect "$status" "KQMiniLauncher [000000] connecting to 127.0.0.1"
expect "$status" "KQMiniLauncher [008000] connected"
expect "$status" "KQMiniLauncher [000000] Start game: "
if grep -aq secret "$status" "$demo/launcher-debugstr.log"; then
  echo "demo-check: the password is in the debugger output"
  failed=1
fi
expect "$demo/launcher-debugstr.log" \
  'warn:debugstr:OutputDebugStringA "KQMiniLauncher [000000] connecting to 127.0.0.1\n"'
for shot in 01-ready 02-world-listed 03-entered 04-client; do
  [ -s "$demo/screenshots/$shot.png" ] || { echo "demo-check: no screenshot $shot"; failed=1; }
done
if [ "$failed" -ne 0 ]; then
  cat "$out"
  exit 1
fi
echo "demo-check: the demo played through; output in $demo"
