#!/usr/bin/env bash
# Pictures of the desktop program without a desktop: builds the project, starts the
# main window under a virtual X server (Xvfb) with a few tasks (two of them converted by
# the real LibreOffice), then one popup menu and the About box in turn, and saves a PNG
# of each into the folder given (default: build/screenshots).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${PELMORA_BUILD_DIR:-$ROOT/build}"
OUT="$(realpath -m "${1:-$BUILD/screenshots}")"

if ! command -v xvfb-run >/dev/null 2>&1; then
    SUDO=""
    if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
        xvfb xauth >&2
fi

"$ROOT/scripts/setup.sh"
cmake --build "$BUILD" --target app_screenshot_tour -j"$(nproc)" >&2

corpus="$ROOT/tests/data/corpus"
documents=("$corpus/simple.doc" "$corpus/table-merges.doc" "$corpus/two_images.doc"
    "$corpus/HeaderFooterUnicode.doc" "$corpus/Word95.doc")

# xvfb-run picks a free display and ends the server when the tour ends.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
    "$BUILD/tests/app/app_screenshot_tour" "$OUT" "${documents[@]}"
echo "Screenshots in $OUT"
