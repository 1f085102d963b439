#!/usr/bin/env bash
# Builds the Debian package of Varno Writer: a release build in build-release, then CPack.
# Prints the package's path. Install it with: sudo apt install ./build-release/varno-writer_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DVARNOW_TESTS=OFF
(cd build-release && cpack -G DEB > /dev/null)
ls build-release/varno-writer_*.deb
