#!/usr/bin/env bash
# Runs a command while the reference login server listens on a free port of 127.0.0.1; the
# command finds the port in KQ_LOGIN_SERVER_PORT. The server is stopped afterwards and the
# command's exit code is the script's. With KQ_LOGIN_SERVER_LOG set, the server's error
# output (its log) goes to that file.
# Usage: with-loginserver.sh SERVER [SERVER_FLAGS...] -- COMMAND [ARGS...]
set -euo pipefail
server=$1
shift
flags=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  flags+=("$1")
  shift
done
if [ $# -lt 2 ]; then
  echo "usage: with-loginserver.sh SERVER [SERVER_FLAGS...] -- COMMAND [ARGS...]" >&2
  exit 2
fi
shift

portfile=$(mktemp -u "${TMPDIR:-/tmp}/kq-loginserver-port.XXXXXX")
if [ -n "${KQ_LOGIN_SERVER_LOG:-}" ]; then exec 3>"$KQ_LOGIN_SERVER_LOG"; else exec 3>&2; fi
"$server" "${flags[@]}" --port 0 --port-file "$portfile" 2>&3 &
pid=$!
exec 3>&-
stop() {
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rm -f "$portfile"
}
trap stop EXIT

for _ in $(seq 200); do
  [ -s "$portfile" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "with-loginserver: the server did not start" >&2; exit 1; }
  sleep 0.05
done
[ -s "$portfile" ] || { echo "with-loginserver: no port from the server" >&2; exit 1; }
KQ_LOGIN_SERVER_PORT=$(cat "$portfile")
export KQ_LOGIN_SERVER_PORT

code=0
"$@" || code=$?
exit "$code"
