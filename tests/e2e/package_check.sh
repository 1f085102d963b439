#!/usr/bin/env bash
# The Debian package made from this build holds the three programs, the desktop entry, its
# icon and the board's udev rule, depends on the libraries they need, and its varnow-cli runs.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" > "$work/cpack.log" 2>&1) ||
    fail "cpack failed: $(tail -5 "$work/cpack.log")"
deb=$(ls "$work"/out/varno-writer_*.deb)
dpkg-deb -x "$deb" "$work/root"
for file in usr/bin/varnow usr/bin/varnow-cli usr/bin/varno-sim \
            usr/share/applications/varnow.desktop \
            usr/share/icons/hicolor/64x64/apps/varnow.png \
            usr/lib/udev/rules.d/70-varno-boards.rules; do
    [ -e "$work/root/$file" ] || fail "the package lacks $file"
done
grep -q 'ATTRS{idVendor}=="0483", ATTRS{idProduct}=="5740"' \
    "$work/root/usr/lib/udev/rules.d/70-varno-boards.rules" || fail "the udev rule is not the board's"
grep -q "^Exec=varnow" "$work/root/usr/share/applications/varnow.desktop" || fail "no Exec line"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6serialport6 libqt6widgets6 libssl3 libudev1; do
    case "$depends" in *"$library"*) ;; *) fail "the package does not depend on $library" ;; esac
done
dpkg-deb -I "$deb" postinst | grep -q "udevadm" || fail "no postinst reloading the udev rules"
version=$("$work/root/usr/bin/varnow-cli" --version)
[ "$version" = "varnow-cli $(dpkg-deb -f "$deb" Version)" ] ||
    fail "the unpacked varnow-cli says '$version'"
echo "package: 5 passed, 0 failed"
