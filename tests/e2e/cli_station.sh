#!/usr/bin/env bash
# varnow-cli station against three varno-sim boards on real pseudo-terminals: all written at
# once with their own settings row (by MCU id); one unplugged in the middle fails alone and
# leaves a trace without the password; boards left plugged are not written again, a board
# plugged again is; --skip-unchanged and --dry-run send no writing command.
set -euo pipefail
cli=$1
sim=$2
mkpkg=$3

source "$(dirname "$0")/lib.sh"
umask 000

"$mkpkg" kofs "$work/line.qvk" --size-kib 64 --name "line image" > /dev/null
start_sim a --baud 0 --mcu "$(mcu aa)" --password "line secret"
start_sim b --baud 0 --mcu "$(mcu bb)"
start_sim c --baud 0 --mcu "$(mcu cc)" --password "line secret" --unplug-after-text 30000
cat > "$work/plan.csv" <<CSV
mcu_id,ipv4.address,wlan.ssid
$(mcu cc),10.0.0.3,line-c
$(mcu aa),10.0.0.1,"line a, north"
$(mcu bb),10.0.0.2,line-b
CSV
export LINE_PASSWORD="line secret"
station() { timeout 120 "$cli" --password-env LINE_PASSWORD station "$work/line.qvk" "$@"; }

# Four boards: a, b and c at once (c loses its cable), then c again once it is plugged back.
station --settings "$work/plan.csv" --count 4 --log "$work/log.json" \
    > "$work/station.out" 2> "$work/station.err" &
station_pid=$!
for _ in $(seq 600); do
    [ "$(wc -l < "$work/log.json" 2> /dev/null || echo 0)" -ge 3 ] && break
    sleep 0.1
done
[ "$(wc -l < "$work/log.json")" -eq 3 ] || fail "the three boards did not end: $(cat "$work/station.err")"
sleep 1  # a and b stay plugged: they must not be written again meanwhile
echo replug >&"$ctl_c"
status=0
wait "$station_pid" || status=$?
[ "$status" -eq 1 ] || fail "a station with a failed board exits with $status, not 1"
grep -q "^Waiting for boards on .*; Ctrl-C ends\.$" "$work/station.err" ||
    fail "the station does not say it waits: $(head -3 "$work/station.err")"
python3 - "$work/log.json" <<'PY' || fail "the log does not tell each board once: $(cat "$work/log.json")"
import json, os, sys
entries = [json.loads(line) for line in open(sys.argv[1])]
ports = [os.path.basename(e["port"]) for e in entries]
assert sorted(ports) == ["a", "b", "c", "c"], ports
first_c = next(e for e in entries if e["port"].endswith("/c"))
assert first_c["result"] == "failed" and first_c["failed_step"] == "upload", first_c
assert os.path.exists(first_c["trace"]), first_c
for e in entries:
    if e is not first_c:
        assert e["result"] == "ok" and e["upload"] == "verified", e
        assert e["settings"] == ["ipv4.address", "wlan.ssid"], e
        assert len(e["image_hash"]) == 40 and e["mcu_id"], e
print(first_c["trace"])
PY
trace=$(python3 -c 'import json,sys; print([json.loads(l) for l in open(sys.argv[1]) if json.loads(l)["result"]=="failed"][0]["trace"])' "$work/log.json")
grep -q "recv kofs" "$trace" || fail "the trace does not hold the failed exchange"
grep -q "line secret" "$trace" && fail "the password is in the trace"
for file in "$trace" "$work/log.json"; do
    [ "$(stat -c %a "$file")" = 600 ] || fail "$file is not its user's alone"
done
for board in a b c; do
    [ "$(commands $board | grep -c '^erase kofs$')" -eq "$([ $board = c ] && echo 2 || echo 1)" ] ||
        fail "board $board was not written exactly as often as it was plugged"
done

# Each board got the row of its MCU id.
"$cli" --port "$VARNOW_SIM_PORTS/a" --password-env LINE_PASSWORD settings show > "$work/a.settings"
grep -q "^ipv4.address: 10.0.0.1$" "$work/a.settings" || fail "board a has not its row"
grep -q "^wlan.ssid: line a, north$" "$work/a.settings" || fail "board a has not its quoted SSID"
"$cli" --port "$VARNOW_SIM_PORTS/b" settings show | grep -q "^ipv4.address: 10.0.0.2$" ||
    fail "board b has not its row"

# A board the plan has no row for is refused once it is identified, before anything is written.
head -3 "$work/plan.csv" > "$work/short-plan.csv"  # the rows of c and a
before_b=$(commands b | wc -l)
station --settings "$work/short-plan.csv" --count 3 --log "$work/short.json" > /dev/null 2>&1 &&
    fail "a station with a board without its row exits with 0"
python3 - "$work/short.json" <<'PY' || fail "board b was not refused alone: $(cat "$work/short.json")"
import json, os, sys
entries = {os.path.basename(e["port"]): e for e in map(json.loads, open(sys.argv[1]))}
assert sorted(entries) == ["a", "b", "c"], entries
assert entries["b"]["result"] == "failed" and "no row" in entries["b"]["error"], entries["b"]
assert entries["a"]["result"] == entries["c"]["result"] == "ok", entries
PY
commands b | tail -n +"$((before_b + 1))" | grep -qE "^(erase|recv|reboot)" &&
    fail "board b without a row was written"

# Boards that hold the image are not written; a dry run writes nothing at all.
before=$(commands a | wc -l)
station --skip-unchanged --count 3 --log "$work/skip.json" > /dev/null 2>&1 ||
    fail "station --skip-unchanged exited with $?"
python3 -c 'import json,sys; r=[json.loads(l)["result"] for l in open(sys.argv[1])]; assert r==["unchanged"]*3, r' \
    "$work/skip.json" || fail "not unchanged: $(cat "$work/skip.json")"
station --dry-run --settings "$work/plan.csv" --cert-make --count 3 --log "$work/dry.json" \
    > /dev/null 2>&1 || fail "station --dry-run exited with $?"
python3 -c 'import json,sys; r=[json.loads(l)["result"] for l in open(sys.argv[1])]; assert r==["dry-run"]*3, r' \
    "$work/dry.json" || fail "not dry runs: $(cat "$work/dry.json")"
commands a | tail -n +"$((before + 1))" > "$work/a.after"
grep -qE "^(erase kofs|recv kofs|recv envs|recv envc|reboot)" "$work/a.after" &&
    fail "a writing command reached the board: $(grep -E '^(erase|recv|reboot)' "$work/a.after")"

echo "cli station: 9 passed, 0 failed"
