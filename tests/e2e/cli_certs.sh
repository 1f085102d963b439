#!/usr/bin/env bash
# varnow-cli gives a board served by varno-sim its TLS identity over a real pseudo-terminal: a
# self-signed certificate made by the tool, then one imported from a PKCS#12 file made here
# with OpenSSL; cert show reads each back, and the board keeps them across its restart.
set -euo pipefail
cli=$1
sim=$2

source "$(dirname "$0")/lib.sh"

start_sim board --baud 0
port=$VARNOW_SIM_PORTS/board
run() { "$cli" --port "$port" "$@"; }

status=0
run cert show > /dev/null 2> "$work/none.err" || status=$?
[ "$status" -eq 21 ] || fail "a board without a certificate exits with $status, not 21"
grep -q "^error: There is no certificate in the product." "$work/none.err" ||
    fail "no certificate, but: $(cat "$work/none.err")"

run cert make --cn bench.example --org "Line 3" > "$work/make.out" 2> "$work/make.err" ||
    fail "cert make exited with $?: $(cat "$work/make.err")"
grep -q "^verified: yes" "$work/make.out" || fail "not verified: $(cat "$work/make.out")"
run --json cert show > "$work/show.json" || fail "cert show exited with $?"
python3 - "$work/show.json" <<'PY' || fail "cert show does not show the subject made"
import json, sys
result = [json.loads(line) for line in open(sys.argv[1]) if '"result"' in line][-1]
assert "CN=bench.example" in result["subject"] and "O=Line 3" in result["subject"], result
assert result["subject"] == result["issuer"], result
assert result["key_bits"] == 1024, result
PY

openssl req -x509 -newkey rsa:2048 -nodes -subj "/C=DE/O=Vendor CA test/CN=gateway" -days 30 \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2> /dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass:"p12 secret" \
    -out "$work/identity.p12"
export P12_PASSWORD="p12 secret"
run cert import "$work/identity.p12" --passin-env P12_PASSWORD --yes \
    > "$work/import.out" 2> "$work/import.err" ||
    fail "cert import exited with $?: $(cat "$work/import.err")"
grep -q "countryName .*= DE - Germany" "$work/import.err" || fail "no report before the question"
run cert show --pem > "$work/shown.pem" || fail "cert show --pem exited with $?"
cmp -s <(openssl x509 -in "$work/cert.pem" -outform DER) \
       <(openssl x509 -in "$work/shown.pem" -outform DER) ||
    fail "the board does not hold the imported certificate"

run reboot > /dev/null || fail "reboot exited with $?"
run cert show > "$work/after.out" 2>&1 || fail "cert show after the restart: $(cat "$work/after.out")"
grep -q "commonName *= gateway" "$work/after.out" ||
    fail "the certificate did not survive a restart: $(cat "$work/after.out")"

echo "cli certs: 6 passed, 0 failed"
