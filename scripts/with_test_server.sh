#!/usr/bin/env bash
# Runs a command with the update-check test servers (testing/manifest_server.py) on
# loopback and stops them afterwards. The Windows test binary needs them under Wine,
# where it cannot start a server itself. It finds them through:
#   VELMORA_TEST_SERVER_PORT        plain HTTP
#   VELMORA_TEST_TLS_PORT           HTTPS for "localhost", signed by the CA in
#   VELMORA_TEST_TLS_CA             (a PEM file; the caller decides whether to trust it)
#   VELMORA_TEST_UNTRUSTED_TLS_PORT HTTPS signed by a CA nobody trusts
# Usage: scripts/with_test_server.sh COMMAND [ARG...]   (exits with COMMAND's status)
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARG...]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)

outputs=()
servers=()
cleanup() {
  for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${servers[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -f "${outputs[@]}"
}
trap cleanup EXIT
trap 'exit 130' INT TERM  # so that the EXIT trap stops the servers then too

# Starts a server with the given options and prints its first line ("port [ca]").
start_server() {
  local out line=""
  out=$(mktemp)
  outputs+=("$out")
  python3 "$root/testing/manifest_server.py" "$@" >"$out" &
  servers+=($!)
  for _ in $(seq 100); do
    line=$(head -n 1 "$out" 2>/dev/null || true)
    [ -n "$line" ] && break
    kill -0 "${servers[-1]}" 2>/dev/null || break
    sleep 0.1
  done
  if ! [[ "$line" =~ ^[0-9]+( .+)?$ ]]; then
    echo "a test server ($*) did not report its port" >&2
    exit 1
  fi
  echo "$line"
}

# Not in command substitutions: the servers must be children of this shell.
plain_line=$(mktemp); tls_line=$(mktemp); untrusted_line=$(mktemp)
outputs+=("$plain_line" "$tls_line" "$untrusted_line")
start_server >"$plain_line"
start_server --tls >"$tls_line"
start_server --tls >"$untrusted_line"
read -r plain_port <"$plain_line"
read -r tls_port tls_ca <"$tls_line"
read -r untrusted_port _ <"$untrusted_line"

export VELMORA_TEST_SERVER_PORT="$plain_port"
export VELMORA_TEST_TLS_PORT="$tls_port" VELMORA_TEST_TLS_CA="$tls_ca"
export VELMORA_TEST_UNTRUSTED_TLS_PORT="$untrusted_port"
status=0
"$@" || status=$?
exit $status
