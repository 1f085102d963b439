#!/usr/bin/env bash
# varnow-cli writes each kind of sample package into a board served by varno-sim over a real
# pseudo-terminal: the stored image and firmware equal the package's byte for byte, the
# combined package goes through the boot loader and both restarts (the port vanishing and
# coming back), and refusals end with their own exit statuses.
set -euo pipefail
cli=$1
sim=$2
samples=$3

source "$(dirname "$0")/lib.sh"

# Asks a simulated board to save what it holds, and waits for its answer.
save() {
    local name=$1 what=$2 file=$3 fd
    fd=$(eval echo "\$ctl_$name")
    echo "save $what $file" >&"$fd"
    for _ in $(seq 600); do
        grep -q "ok save $what $file" "$work/$name.out" && return 0
        sleep 0.05
    done
    fail "varno-sim $name did not save its $what"
}

start_sim board --baud 0
port=$VARNOW_SIM_PORTS/board

"$cli" --port "$port" upload "$samples/image.qvk" > "$work/out1" || fail "kind 1 upload exited with $?"
grep -qx "upload: verified" "$work/out1" || fail "kind 1: $(cat "$work/out1")"
save board kofs "$work/kofs1"
cmp -s "$work/kofs1" "$samples/image.qvk" || fail "the stored image differs from the package"

"$cli" --port "$port" upload "$samples/firmware.qvk" > "$work/out2" || fail "kind 2 upload exited with $?"
save board firmware "$work/firmware2"
cmp -s "$work/firmware2" "$samples/firmware.qvk" || fail "the stored firmware differs from the package"

"$cli" --port "$port" upload "$samples/combined.qvk" > "$work/out3" || fail "kind 3 upload exited with $?"
grep -qx "firmware: upgraded" "$work/out3" || fail "kind 3: $(cat "$work/out3")"
save board kofs "$work/kofs3"
save board firmware "$work/firmware3"
head -c 4096 "$samples/combined.qvk" | cmp -s - "$work/kofs3" || fail "kind 3 image differs"
tail -c +4097 "$samples/combined.qvk" | cmp -s - "$work/firmware3" || fail "kind 3 firmware differs"

"$cli" --port "$port" identify > /dev/null || fail "the board does not answer after both restarts"

start_sim other --baud 0 --product-id 2
status=0
"$cli" --port "$VARNOW_SIM_PORTS/other" upload "$samples/image.qvk" > /dev/null 2>&1 || status=$?
[ "$status" -eq 12 ] || fail "a product mismatch exits with $status, not 12"

start_sim liar --baud 0 --wrong-hash
status=0
"$cli" --json --port "$VARNOW_SIM_PORTS/liar" upload "$samples/image.qvk" > "$work/out4" 2>&1 || status=$?
[ "$status" -eq 14 ] || fail "a hash mismatch exits with $status, not 14"
grep -q '"id":200' "$work/out4" || fail "no hash-mismatch message"

status=0
"$cli" --port "$port" upload "$samples/damaged-head-crc.qvk" > /dev/null 2>&1 || status=$?
[ "$status" -eq 3 ] || fail "a damaged package exits with $status, not 3"

# A board on a path that no device notification covers (a link outside the simulated-ports
# folder, as /dev/serial/by-id in a container without udev) is found again after both
# restarts by probing its path.
mkdir -p "$work/elsewhere"
mkfifo "$work/outside.ctl"
"$sim" --name outside --dir "$work/elsewhere" --baud 0 < "$work/outside.ctl" > "$work/outside.out" 2>&1 &
pids+=($!)
exec {outside_fd}> "$work/outside.ctl"
for _ in $(seq 600); do [ -L "$work/elsewhere/outside" ] && break; sleep 0.05; done
"$cli" --port "$work/elsewhere/outside" firmware "$samples/firmware.qvk" > "$work/out5" 2>&1 ||
    fail "firmware on a path outside the folder exited with $?: $(cat "$work/out5")"
grep -qx "firmware: upgraded" "$work/out5" || fail "outside the folder: $(cat "$work/out5")"

echo "cli upload: 8 passed, 0 failed"
