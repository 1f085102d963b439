#!/usr/bin/env bash
# varnow-cli reads what a board served by varno-sim tells about itself, over a real
# pseudo-terminal: info and netinfo as JSON, parsed back with the board's values; a conflict
# the board reports shows in the network report.
set -euo pipefail
cli=$1
sim=$2

source "$(dirname "$0")/lib.sh"

start_sim board --baud 0 --mac "02:00:5E:10:00:01" --conflicts 1
port=$VARNOW_SIM_PORTS/board
run() { "$cli" --port "$port" "$@"; }

run --json info > "$work/info.json" || fail "info exited with $?"
run --json netinfo > "$work/netinfo.json" || fail "netinfo exited with $?"
python3 - "$work/info.json" "$work/netinfo.json" <<'PY' || fail "the JSON does not hold the board's values"
import json, sys
def result(path):
    return [json.loads(line) for line in open(path) if '"result"' in line][-1]
info = result(sys.argv[1])
assert info["mac"] == "02:00:5E:10:00:01", info
assert info["product_name"] == "VARNO-104K demo board", info
assert info["firmware_name"] == "VARNO-FW 3.2.1", info
assert info["version"] == [2, 1, 5] and info["size_kib"] == 104, info
assert isinstance(info["uptime_seconds"], int) and "days / " in info["uptime"], info
net = result(sys.argv[2])
assert net["ipv4"]["address"] == "192.168.0.100", net
assert net["ipv6"]["prefix"] == 64, net
assert net["conflict"] == {"count": 1, "mac": "00:11:22:33:44:55", "seconds": 90061}, net
assert net["wireless"]["ssid"] == "varno-lab" and net["wireless"]["signal_dbm"] == -55, net
assert len(net["arp"]) == 2 and len(net["neighbours"]) == 1, net
assert net["reports"]["network"].endswith("  Time - 1days / 01:01:01"), net["reports"]["network"]
PY
run --lang ko netinfo > "$work/netinfo.ko" 2> /dev/null || fail "netinfo in Korean exited with $?"
grep -q "IPv4 네트워크 정보" "$work/netinfo.ko" || fail "no Korean report: $(cat "$work/netinfo.ko")"

echo "cli info: 3 passed, 0 failed"
