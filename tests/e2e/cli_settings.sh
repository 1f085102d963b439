#!/usr/bin/env bash
# varnow-cli edits the settings of a board served by varno-sim over a real pseudo-terminal:
# a static address and Wi-Fi values are written (a backup first), read back by settings show;
# a value the pages refuse sends nothing; a new password is asked at the next connect; a
# backup goes back byte for byte; the board restarts and is found again.
set -euo pipefail
cli=$1
sim=$2

source "$(dirname "$0")/lib.sh"
export XDG_DATA_HOME=$work/data

umask 000
start_sim board --baud 0
port=$VARNOW_SIM_PORTS/board
run() { "$cli" --port "$port" "$@"; }

run settings backup "$work/before.envs" > /dev/null || fail "settings backup exited with $?"

run settings set ipv4.address=10.20.30.40 ipv4.gateway=10.20.30.1 wlan.ssid=workshop \
    wlan.key=correct-horse --reboot > "$work/set.out" 2> "$work/set.err" ||
    fail "settings set exited with $?: $(cat "$work/set.err")"
grep -q "^verified: yes" "$work/set.out" || fail "not verified: $(cat "$work/set.out")"
grep -q "^rebooted: yes" "$work/set.out" || fail "not rebooted: $(cat "$work/set.out")"
backup=$(sed -n 's/^backup: //p' "$work/set.out")
[ -f "$backup" ] || fail "no backup of the block as read at $backup"
case "$backup" in "$work/data/VarnoW/backups/"*) ;; *) fail "backup outside the data folder: $backup" ;; esac

run --json settings show > "$work/show.json" || fail "settings show exited with $?"
python3 - "$work/show.json" <<'PY' || fail "settings show does not read the values back"
import json, sys
result = [json.loads(line) for line in open(sys.argv[1]) if '"result"' in line][-1]
assert result["ipv4.address"] == "10.20.30.40", result
assert result["ipv4.gateway"] == "10.20.30.1", result
assert result["wlan.ssid"] == "workshop", result
assert result["wlan.key_set"] is True and "wlan.key" not in result, result
assert result["ipv6.enabled"] is False, result
PY

# The pages refuse a WEP key of 8 characters for Ad-hoc: nothing goes to the board.
status=0
run --trace "$work/refused.trace" settings set wlan.topology=adhoc wlan.key=abcdefgh \
    > /dev/null 2> "$work/refused.err" || status=$?
[ "$status" -eq 18 ] || fail "a refused value exits with $status, not 18"
grep -q "recv envs" "$work/refused.trace" && fail "a refused value was sent"
grep -q "abcdefgh" "$work/refused.trace" "$work/refused.err" && fail "the key was shown"

# Every file the tool wrote is its user's alone, whatever the umask.
mode() { stat -c %a "$1"; }
for file in "$backup" "$work/before.envs" "$work/refused.trace"; do
    [ "$(mode "$file")" = 600 ] || fail "$file has mode $(mode "$file"), not 600"
done
for folder in "$work/data/VarnoW" "$work/data/VarnoW/backups"; do
    [ "$(mode "$folder")" = 700 ] || fail "$folder has mode $(mode "$folder"), not 700"
done

# A backup goes back byte for byte.
run settings restore "$work/before.envs" > "$work/restore.out" ||
    fail "settings restore exited with $?"
run settings backup "$work/after.envs" > /dev/null
tail -c +1 "$work/before.envs" | sed -n '/^$/,$p' > "$work/before.block"
tail -c +1 "$work/after.envs" | sed -n '/^$/,$p' > "$work/after.block"
cmp -s "$work/before.block" "$work/after.block" || fail "the restored block differs"

# A new password: asked at the next connect, and never on the line.
VARNOW_NEW_PASSWORD="open sesame" run --trace "$work/password.trace" password set \
    > "$work/password.out" || fail "password set exited with $?"
grep -q "^login: yes" "$work/password.out" || fail "not logged in with the new password"
grep -q "open sesame" "$work/password.trace" && fail "the password went on the line"
status=0
run identify > /dev/null 2>&1 < /dev/null || status=$?
[ "$status" -eq 9 ] || fail "a protected board without a password exits with $status, not 9"
VARNOW_PASSWORD="open sesame" run identify > /dev/null || fail "the new password does not log in"
echo "open sesame" > "$work/password.txt"
run --password-file "$work/password.txt" password delete > /dev/null ||
    fail "password delete exited with $?"
run identify > /dev/null || fail "the password was not deleted"

echo "cli settings: 7 passed, 0 failed"
