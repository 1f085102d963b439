# Shared by the end-to-end scripts: a work folder, simulated boards on pseudo-terminals, and
# clean-up of everything started. Source it with the varno-sim path in $sim.
work=$(mktemp -d)
export VARNOW_SIM_PORTS=$work/ports
export XDG_DATA_HOME=$work/data
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# start_sim NAME [options]: varno-sim on a link NAME; control commands go to fd $ctl_NAME.
start_sim() {
    local name=$1
    shift
    mkfifo "$work/$name.ctl"
    "$sim" --name "$name" "$@" < "$work/$name.ctl" > "$work/$name.out" 2>&1 &
    pids+=($!)
    exec {fd}> "$work/$name.ctl"  # keeps the FIFO open for later commands
    eval "ctl_$name=$fd"
    for _ in $(seq 600); do
        [ -L "$VARNOW_SIM_PORTS/$name" ] && return 0
        sleep 0.05
    done
    fail "varno-sim $name did not come up: $(cat "$work/$name.out")"
}

# mcu XX: an MCU id ending in XX.
mcu() { printf '00000000000000000000000000000000000000%s' "$1"; }

# commands NAME: the command lines board NAME has received so far, from its own record.
commands() {
    local fd_name="ctl_$1"
    rm -f "$work/$1.commands"
    echo "save commands $work/$1.commands" >&"${!fd_name}"
    for _ in $(seq 600); do [ -s "$work/$1.commands" ] && break; sleep 0.05; done
    cat "$work/$1.commands"
}
