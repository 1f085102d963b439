#!/usr/bin/env bash
# Ctrl-C in the middle of an upload to varno-sim at the board's line rate: varnow-cli closes
# the port at once, says that the board may hold a partial image, and exits 130.
set -euo pipefail
cli=$1
sim=$2
mkpkg=$3

source "$(dirname "$0")/lib.sh"

"$mkpkg" kofs "$work/big.qvk" --size-kib 256 > /dev/null
start_sim slow --baud 115200
"$cli" --port "$VARNOW_SIM_PORTS/slow" upload "$work/big.qvk" > "$work/out" 2> "$work/err" &
cli_pid=$!
for _ in $(seq 600); do
    grep -q "Updating files" "$work/err" 2>/dev/null && break
    sleep 0.05
done
sleep 1
kill -INT "$cli_pid"
status=0
wait "$cli_pid" || status=$?
[ "$status" -eq 130 ] || fail "an interrupted upload exits with $status, not 130: $(cat "$work/err")"
tail -n 1 "$work/err" | grep -q "^error: Interrupted: the port was closed. The product may hold a partial image" ||
    fail "no word on the board's state: $(cat "$work/err")"

# The board is usable at once: the port was closed, not left held.
"$cli" --port "$VARNOW_SIM_PORTS/slow" identify > /dev/null || fail "the board was left unusable"

echo "cli interrupt: 2 passed, 0 failed"
