#!/usr/bin/env bash
# Builds the Debian package from the build folder with CPack and checks it with
# dpkg-deb: what it installs (program, manual, desktop entry, metainfo, every icon
# size) and what it depends on; validates the desktop metadata with appstreamcli.
# Used by CI after the tests; run it by hand after ./scripts/setup.sh.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${PELMORA_BUILD_DIR:-$ROOT/build}"
OUT="$(mktemp -d)"
trap 'rm -rf "$OUT"' EXIT

appstreamcli validate --no-net "$ROOT/resources/desktop/example.quorvel.Quorvel.metainfo.xml"

(cd "$BUILD" && cpack -G DEB -B "$OUT" >/dev/null)
deb="$(ls "$OUT"/pelmora_*.deb)"
echo "built $(basename "$deb")"

contents="$(dpkg-deb --contents "$deb" | awk '{print $6}')"
fields="$(dpkg-deb --field "$deb" Package Version Architecture Depends)"
failed=0
expect() { # expect WHAT TEXT: TEXT must hold the line WHAT
    if ! grep -qxF -- "$1" <<<"$2"; then
        echo "missing: $1" >&2
        failed=1
    fi
}
expect ./usr/bin/pelmora "$contents"
expect ./usr/share/man/man1/pelmora.1 "$contents"
expect ./usr/share/doc/pelmora/help.html "$contents"
expect ./usr/share/applications/example.quorvel.Quorvel.desktop "$contents"
expect ./usr/share/metainfo/example.quorvel.Quorvel.metainfo.xml "$contents"
expect ./usr/share/icons/hicolor/scalable/apps/pelmora.svg "$contents"
for size in 16 24 32 48 64 128 256; do
    expect "./usr/share/icons/hicolor/${size}x${size}/apps/pelmora.png" "$contents"
done
depends="$(dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ *(.*//')"
for package in libreoffice-writer-nogui bubblewrap qt6-qpa-plugins libqt6widgets6 \
    libqt6multimedia6; do
    grep -q "^$package\b" <<<"$depends" || { echo "no dependency on $package" >&2; failed=1; }
done
echo "$fields"
exit $failed
