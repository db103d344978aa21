#!/usr/bin/env bash
# The run command: installs what is missing, builds, and plays the demo (scripts/demo.sh)
# against the reference login server with a demo account (player / secret) and world on a
# free port. With a display the player uses the launcher by hand; without one (or with
# --scripted) a scripted run plays under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
demo="$root/build/demo"
mkdir -p "$demo"
KQ_LOGIN_SERVER_LOG="$demo/loginserver.log" exec "$root/scripts/with-loginserver.sh" \
  "$root/build/native/bin/KQLoginServer" --config "$root/scripts/demo-server.conf" --log -- \
  "$root/scripts/demo.sh" "$demo" "$@"
