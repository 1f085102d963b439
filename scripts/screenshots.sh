#!/usr/bin/env bash
# Renders the main window (disconnected and connected to the embedded simulated board), a
# message dialog of each style and the progress dialog, in English and Korean, to
# docs/screenshots/ (offscreen platform: no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
XDG_CONFIG_HOME=$(mktemp -d) build/src/gui/varnow-screenshots docs/screenshots
