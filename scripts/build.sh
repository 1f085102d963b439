#!/usr/bin/env bash
# scripts/build.sh DIR [cmake options...]: configures (once) and builds one build tree.
set -euo pipefail
dir=$1
shift
cmake -S "$(dirname "$0")/.." -B "$dir" -G Ninja -DVARNOW_WERROR=ON "$@" >/dev/null
cmake --build "$dir"
