#!/usr/bin/env bash
# Installs the Debian packages Varno Writer needs to build and test, where they are missing.
# Safe to run again: it asks apt only when something is not installed yet.
set -euo pipefail

PACKAGES=(
    g++ cmake ninja-build pkg-config
    clang libclang-rt-14-dev             # libFuzzer and the sanitizer runtimes
    libgtest-dev libssl-dev libcli11-dev  # tests, OpenSSL, the command line's parser
    openssl                              # end-to-end tests make their certificate files
    dpkg-dev file                        # the Debian package: its dependencies found by CPack
    qt6-base-dev qt6-serialport-dev     # GUI, platform layer
    qt6-translations-l10n               # Qt's own dialog texts in Korean
    libudev-dev                          # hot-plug of the board's USB port
    fonts-nanum fonts-liberation         # Korean texts must render; Arial metrics
)

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "setup: run as root or install sudo" >&2; exit 1; }
    SUDO=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
