#!/usr/bin/env bash
# Builds and runs the upload throughput benchmark (several minutes: one 1 MiB upload runs at
# 115200 baud). bench/run.sh --quick for a short run of both parts (512 KiB unthrottled,
# 32 KiB at the line rate); bench/run.sh --unthrottled-only to skip the line-rate part.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
build/bench/upload-benchmark build/src/cli/varnow-cli build/src/sim/server/varno-sim "$@"
