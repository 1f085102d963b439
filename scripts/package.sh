#!/usr/bin/env bash
# Builds the Debian package of Varno Writer: a release build in build-release, then CPack.
# Prints the package's path. Install it with: sudo apt install ./build-release/varno-writer_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Warnings as errors belong to the development builds: a compiler newer or older than the
# ones tested must not stop a user's install.
scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DVARNOW_TESTS=OFF -DVARNOW_WERROR=OFF
(cd build-release && cpack -G DEB > /dev/null)
ls build-release/varno-writer_*.deb
