#!/usr/bin/env bash
# Regenerates the sample packages with the sample-package maker: samples/make-samples.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mkpkg="${1:-$here/../build}/tools/pkgmaker/varno-mkpkg"
"$mkpkg" kofs "$here/image.qvk" --size-kib 4 --product-id 1 --name "sample image"
"$mkpkg" firmware "$here/firmware.qvk" --firmware-bytes 8192 --magic f4sP
"$mkpkg" combined "$here/combined.qvk" --size-kib 4 --product-id 1 --name "sample image" \
    --firmware-bytes 8192
"$mkpkg" kofs "$here/damaged-head-crc.qvk" --size-kib 4 --name "sample image" --damage head-crc
