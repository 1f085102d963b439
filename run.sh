#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo against the embedded simulated board:
# identifies the board, then checks the sample packages the way the tool checks a package
# before it writes it to a board.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "\$ varnow-cli --simulate identify"
build/src/cli/varnow-cli --simulate identify
echo

for package in samples/image.qvk samples/combined.qvk samples/firmware.qvk samples/damaged-head-crc.qvk; do
    echo "\$ varnow-cli inspect $package"
    status=0
    build/src/cli/varnow-cli inspect "$package" || status=$?
    echo "(exit status $status)"
    echo
done
