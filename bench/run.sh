#!/usr/bin/env bash
# Builds and runs the benchmarks (several minutes): the upload throughput (one 1 MiB upload
# runs at 115200 baud) and the station (1, 4 and 8 boards at 115200 baud at once).
#   bench/run.sh                    both, full size
#   bench/run.sh --quick            both, small (512 KiB unthrottled, 32 KiB and 16 KiB at the line rate)
#   bench/run.sh --unthrottled-only the upload benchmark's unthrottled part alone
#   bench/run.sh --station-only     the station benchmark alone (add --quick for a small one)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cli=build/src/cli/varnow-cli
sim=build/src/sim/server/varno-sim
quick=()
station_only=false
upload_args=()
for argument in "$@"; do
    case "$argument" in
        --quick) quick=(--quick); upload_args+=(--quick) ;;
        --station-only) station_only=true ;;
        *) upload_args+=("$argument") ;;
    esac
done
if ! $station_only; then
    build/bench/upload-benchmark "$cli" "$sim" "${upload_args[@]}"
fi
if [ "${upload_args[*]:-}" != "--unthrottled-only" ]; then
    build/bench/station-benchmark "$cli" "$sim" "${quick[@]}"
fi
