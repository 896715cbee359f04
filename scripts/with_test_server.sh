#!/usr/bin/env bash
# Runs a command with the update-check test server (testing/manifest_server.py) on
# loopback, its port in VELMORA_TEST_SERVER_PORT, and stops the server afterwards.
# The Windows test binary needs this under Wine, where it cannot start the server.
# Usage: scripts/with_test_server.sh COMMAND [ARG...]   (exits with COMMAND's status)
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARG...]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)

out=$(mktemp)
python3 "$root/testing/manifest_server.py" >"$out" &
server=$!
cleanup() {
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -f "$out"
}
trap cleanup EXIT
trap 'exit 130' INT TERM  # so that the EXIT trap stops the server then too

port=""
for _ in $(seq 100); do
  port=$(head -n 1 "$out" 2>/dev/null || true)
  [ -n "$port" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
if ! [[ "$port" =~ ^[0-9]+$ ]]; then
  echo "the test server did not report its port" >&2
  exit 1
fi

export VELMORA_TEST_SERVER_PORT="$port"
status=0
"$@" || status=$?
exit $status
