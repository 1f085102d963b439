#!/usr/bin/env bash
# Boards whose ports come back under other names after every restart (as USB serial ports
# that re-enumerate): the firmware, a settings write with its restart, a password change and
# the station each find the board again as itself, and the station writes each board once,
# also when two boards restart at once onto each other's names.
set -euo pipefail
cli=$1
sim=$2
samples=$3

source "$(dirname "$0")/lib.sh"

# One board, a new name at each restart.
start_sim a --baud 0 --mcu "$(mcu aa)" --reboot-ms 300 \
    --come-back-as a1 --come-back-as a2 --come-back-as a3 --come-back-as a4 --come-back-as a5
ports=$VARNOW_SIM_PORTS
timeout 60 "$cli" --port "$ports/a" firmware "$samples/firmware.qvk" > "$work/fw.out" 2>&1 ||
    fail "firmware on a board that comes back renamed exited with $?: $(cat "$work/fw.out")"
[ -L "$ports/a2" ] || fail "the board is not on its second name: $(ls "$ports")"
timeout 60 "$cli" --port "$ports/a2" settings set ipv4.address=10.1.2.3 --reboot \
    > "$work/set.out" 2>&1 || fail "settings set --reboot exited with $?: $(cat "$work/set.out")"
VARNOW_NEW_PASSWORD="renamed secret" timeout 60 "$cli" --port "$ports/a3" password set \
    > "$work/password.out" 2>&1 || fail "password set exited with $?: $(cat "$work/password.out")"
grep -q "^login: yes" "$work/password.out" || fail "not logged in with the new password"
export LINE_PASSWORD="renamed secret"
"$cli" --port "$ports/a4" --password-env LINE_PASSWORD settings show |
    grep -q "^ipv4.address: 10.1.2.3$" || fail "the board does not hold its new address"

# Two boards restarting at once onto each other's names, written by the station with a
# combined package (image, then firmware through the boot loader and back).
start_sim x --baud 0 --mcu "$(mcu c1)" --reboot-ms 300 --come-back-as y --come-back-as x
start_sim y --baud 0 --mcu "$(mcu c2)" --reboot-ms 300 --come-back-as x --come-back-as y
timeout 120 "$cli" --port "$ports/x" --port "$ports/y" station "$samples/combined.qvk" \
    --count 2 --log "$work/log.json" > "$work/station.out" 2> "$work/station.err" ||
    fail "the station exited with $?: $(cat "$work/station.err" "$work/log.json")"
python3 - "$work/log.json" "$(mcu c1)" "$(mcu c2)" <<'PY' || fail "the log: $(cat "$work/log.json")"
import json, sys
entries = [json.loads(line) for line in open(sys.argv[1])]
assert sorted(e["mcu_id"] for e in entries) == sorted(sys.argv[2:]), entries
for e in entries:
    assert e["result"] == "ok" and e["upload"] == "verified" and e["firmware"] == "upgraded", e
PY
for board in x y; do
    [ "$(commands $board | grep -c '^erase kofs$')" -eq 1 ] ||
        fail "board $board was not written exactly once"
done

echo "cli rename: 6 passed, 0 failed"
