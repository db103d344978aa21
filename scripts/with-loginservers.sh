#!/usr/bin/env bash
# Runs a command while one reference login server per config file listens on a free port of
# 127.0.0.1; the command finds the port of NAME.conf in KQ_LOGIN_SERVER_PORT_NAME (upper
# case, '-' as '_'). The servers are stopped afterwards and the command's exit code is the
# script's.
# Usage: with-loginservers.sh SERVER CONFIG... -- COMMAND [ARGS...]
set -euo pipefail
server=$1
shift
configs=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  configs+=("$1")
  shift
done
if [ $# -lt 2 ] || [ ${#configs[@]} -eq 0 ]; then
  echo "usage: with-loginservers.sh SERVER CONFIG... -- COMMAND [ARGS...]" >&2
  exit 2
fi
shift

pids=()
files=()
stop() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -f "${files[@]}"
}
trap stop EXIT

for config in "${configs[@]}"; do
  portfile=$(mktemp -u "${TMPDIR:-/tmp}/kq-loginserver-port.XXXXXX")
  files+=("$portfile")
  "$server" --config "$config" --port 0 --port-file "$portfile" &
  pids+=($!)
  for _ in $(seq 200); do
    [ -s "$portfile" ] && break
    kill -0 "${pids[-1]}" 2>/dev/null || { echo "with-loginservers: $config did not start" >&2; exit 1; }
    sleep 0.05
  done
  [ -s "$portfile" ] || { echo "with-loginservers: no port for $config" >&2; exit 1; }
  name=$(basename "$config" .conf | tr 'a-z-' 'A-Z_')
  export "KQ_LOGIN_SERVER_PORT_$name=$(cat "$portfile")"
done

code=0
"$@" || code=$?
exit "$code"
