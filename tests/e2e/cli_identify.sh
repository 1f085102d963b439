#!/usr/bin/env bash
# varnow-cli identifies a board served by varno-sim over a real pseudo-terminal, logs in to a
# protected one, reports a refused password with its own status, and identifies the embedded
# simulated board.
set -euo pipefail
cli=$1
sim=$2

source "$(dirname "$0")/lib.sh"

start_sim plain --fib "FIB-E2E" --mcu 00112233445566778899aabbccddeeff00112233
start_sim locked --password "open sesame"

"$cli" ports | grep -q "$VARNOW_SIM_PORTS/plain" || fail "ports does not list the simulated board"

out=$("$cli" --port "$VARNOW_SIM_PORTS/plain" identify) || fail "identify exited with $?"
grep -qx "fib id: FIB-E2E" <<<"$out" || fail "unexpected identity: $out"
grep -qx "mcu id: 00112233445566778899aabbccddeeff00112233" <<<"$out" || fail "no MCU id: $out"
grep -qx "isp: no" <<<"$out" || fail "ISP flag: $out"

out=$(PASSWORD="open sesame" "$cli" --port "$VARNOW_SIM_PORTS/locked" --password-env PASSWORD identify) ||
    fail "login with the right password exited with $?"
grep -qx "login: yes" <<<"$out" || fail "login flag: $out"

status=0
out=$(VARNOW_PASSWORD="wrong password" "$cli" --json --port "$VARNOW_SIM_PORTS/locked" identify) || status=$?
[ "$status" -eq 9 ] || fail "a refused password exits with $status, not 9"
grep -q '"id":152' <<<"$out" || fail "no password-mismatch message: $out"
grep -q '"outcome":"login-refused"' <<<"$out" || fail "no login-refused result: $out"

status=0
"$cli" --port "$work/no-such-port" identify > /dev/null 2>&1 || status=$?
[ "$status" -eq 5 ] || fail "a missing port exits with $status, not 5"

out=$("$cli" --simulate identify) || fail "--simulate identify exited with $?"
grep -qx "port: simulated-board" <<<"$out" || fail "embedded board: $out"

echo "cli identify: 5 passed, 0 failed"
