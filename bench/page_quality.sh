#!/usr/bin/env bash
# Quality of compacted pages. Converts every document in FOLDER twice with pelmora,
# as it is and compacted (-c), then prints:
#   - the Nu Html Checker's errors before and after,
#   - the byte ratio of the compacted pages to the pages as written,
#   - how many compacted pages render pixel for pixel as the originals in headless
#     Chromium, at a narrow and at a wide window.
# Exits 1 when a compacted page has an error or renders differently.
# Usage: bench/page_quality.sh FOLDER   (PELMORA=path/to/pelmora to pick a build)
# The checker (npm package vnu-jar, on a Java runtime) is installed into
# build/page-quality/ on first use.
set -euo pipefail

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 FOLDER" >&2
    exit 2
fi
FOLDER="$(cd "$1" && pwd)"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PELMORA="${PELMORA:-$ROOT/build/app/pelmora}"
TOOLS="$ROOT/build/page-quality"
VNU="$TOOLS/node_modules/vnu-jar/build/dist/vnu.jar"
NARROW=360
WIDE=1280
HEIGHT=4000

install_debian() {
    local sudo=""
    if [ "$(id -u)" != 0 ]; then sudo=sudo; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" >&2
}

command -v java >/dev/null || install_debian default-jre-headless
command -v chromium >/dev/null || install_debian chromium
if [ ! -f "$VNU" ]; then
    command -v npm >/dev/null || install_debian npm
    mkdir -p "$TOOLS"
    npm install --silent --no-audit --no-fund --prefix "$TOOLS" vnu-jar >&2
fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
shopt -s nullglob
documents=("$FOLDER"/*)
"$PELMORA" "${documents[@]}" -d "$WORK/plain" -f1 -o "-l:$WORK/plain.log" >/dev/null 2>&1 || true
"$PELMORA" "${documents[@]}" -d "$WORK/small" -f1 -o -c "-l:$WORK/small.log" >/dev/null 2>&1 || true

pages=()
for page in "$WORK"/plain/*.htm "$WORK"/plain/*.html; do
    [ -f "$WORK/small/$(basename "$page")" ] && pages+=("$(basename "$page")")
done
if [ ${#pages[@]} -eq 0 ]; then
    echo "no pages were made from $FOLDER" >&2
    exit 2
fi

# Errors of the checker, counted over a folder's pages.
errors() {
    (cd "$1" && java -jar "$VNU" --errors-only --format gnu "${pages[@]}" 2>&1 || true) |
        grep -c ': error:' || true
}

# Renders page at width into png.
render() {
    local sandbox=()
    if [ "$(id -u)" = 0 ]; then sandbox=(--no-sandbox); fi
    chromium --headless=new "${sandbox[@]}" --disable-gpu --hide-scrollbars \
        --force-device-scale-factor=1 --window-size="$2,$HEIGHT" --screenshot="$3" \
        "file://$1" >/dev/null 2>&1
}

before=$(errors "$WORK/plain")
after=$(errors "$WORK/small")
plainBytes=0
smallBytes=0
same=0
different=()
for page in "${pages[@]}"; do
    plainBytes=$((plainBytes + $(stat -c %s "$WORK/plain/$page")))
    smallBytes=$((smallBytes + $(stat -c %s "$WORK/small/$page")))
    identical=1
    for width in $NARROW $WIDE; do
        render "$WORK/plain/$page" "$width" "$WORK/a.png"
        render "$WORK/small/$page" "$width" "$WORK/b.png"
        cmp -s "$WORK/a.png" "$WORK/b.png" || identical=0
    done
    if [ $identical = 1 ]; then same=$((same + 1)); else different+=("$page"); fi
done

echo "pages: ${#pages[@]}"
echo "checker errors before: $before"
echo "checker errors after: $after"
awk -v a="$smallBytes" -v b="$plainBytes" \
    'BEGIN { printf "bytes: %d -> %d, ratio %.3f\n", b, a, a / b }'
echo "identical renders (${NARROW}px and ${WIDE}px): $same of ${#pages[@]}"
for page in "${different[@]}"; do echo "  renders differently: $page"; done
if [ "$after" != 0 ]; then
    (cd "$WORK/small" && java -jar "$VNU" --errors-only --format gnu "${pages[@]}" 2>&1 | head -20) || true
fi
[ "$after" = 0 ] && [ $same = ${#pages[@]} ]
