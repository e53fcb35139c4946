#!/usr/bin/env bash
# Converts one batch of Word documents (.doc, .rtf, Word 2003 .xml) with pelmora and with
# "soffice --headless --convert-to html", each into a fresh output folder, and prints
# both times and their ratio. Goal: ratio (pelmora / soffice) <= 1.0.
#
# Usage: bench/batch_vs_soffice.sh [COPIES]   (COPIES of each sample, default 5)
# Needs a built pelmora (./test.sh or scripts/setup.sh) and no other office running
# under the same profile.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${PELMORA_BUILD_DIR:-$ROOT/build}"
PELMORA="$BUILD/app/pelmora"
CORPUS="$ROOT/tests/data/corpus"
COPIES="${1:-5}"

if [ ! -x "$PELMORA" ]; then
    echo "pelmora is not built: run scripts/setup.sh first" >&2
    exit 1
fi

WORK="$(mktemp -d "${TMPDIR:-/tmp}/pelmora-batch-XXXXXX")"
trap 'rm -rf "$WORK"' EXIT
BATCH="$WORK/batch"
mkdir -p "$BATCH" "$WORK/made"

# The readable samples (not the encrypted, damaged or crashing ones).
for f in simple two_images empty Word95 table-merges HeaderFooterUnicode; do
    for ((i = 1; i <= COPIES; i++)); do
        cp "$CORPUS/$f.doc" "$BATCH/$f-$i.doc"
    done
done

# Generated documents: RTF written here, Word 2003 XML and more .doc made from it by
# the office itself.
PNG=89504e470d0a1a0a0000000d4948445200000004000000040802000000269309290000001049444154789c63f8cfc000470cc47100ae930ff1d05f239e0000000049454e44ae426082
for ((i = 1; i <= 7 * COPIES; i++)); do
    {
        printf '{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\fs24 '
        printf '{\\b Document %d}\\par ' "$i"
        for ((p = 1; p <= 20; p++)); do
            printf 'Paragraph %d of document %d: the quick brown fox jumps over the lazy dog. ' "$p" "$i"
            printf '{\\i italic} {\\lang1031 deutsches Wort} and a table follows.\\par ' 
        done
        printf '\\trowd\\cellx2000\\cellx4000\\intbl a\\cell b\\cell\\row '
        printf '{\\pict\\pngblip\\picw4\\pich4\\picwgoal600\\pichgoal600 %s}\\par}' "$PNG"
    } >"$WORK/made/gen-$i.rtf"
done
PROFILE="file://$WORK/profile"
soffice "-env:UserInstallation=$PROFILE" --headless --convert-to xml:"MS Word 2003 XML" \
    --outdir "$WORK/made/xml" "$WORK"/made/gen-*.rtf >/dev/null 2>&1
soffice "-env:UserInstallation=$PROFILE" --headless --convert-to doc \
    --outdir "$WORK/made/doc" "$WORK"/made/gen-*.rtf >/dev/null 2>&1
# Every page name must be unique, or the second page of a name would be skipped.
for ((i = 1; i <= 7 * COPIES; i++)); do
    cp "$WORK/made/gen-$i.rtf" "$BATCH/gen-$i-r.rtf"
    cp "$WORK/made/xml/gen-$i.xml" "$BATCH/gen-$i-x.xml"
    cp "$WORK/made/doc/gen-$i.doc" "$BATCH/gen-$i-d.doc"
done

COUNT=$(find "$BATCH" -maxdepth 1 -type f | wc -l)
echo "batch: $COUNT documents ($(ls "$BATCH" | grep -c '\.doc$') .doc," \
    "$(ls "$BATCH" | grep -c '\.rtf$') .rtf, $(ls "$BATCH" | grep -c '\.xml$') .xml)"

now() { date +%s.%N; }

mkdir -p "$WORK/out-pelmora" "$WORK/out-soffice"
start=$(now)
"$PELMORA" "$BATCH/*.doc;*.rtf;*.xml" "-d:$WORK/out-pelmora" -f1 "-l:$WORK/pelmora.log" \
    >/dev/null || true
pelmora_time=$(awk "BEGIN { print $(now) - $start }")

# The same profile soffice made above, already set up: soffice starts warm.
start=$(now)
soffice "-env:UserInstallation=$PROFILE" --headless --convert-to html \
    --outdir "$WORK/out-soffice" "$BATCH"/* >/dev/null 2>&1
soffice_time=$(awk "BEGIN { print $(now) - $start }")

ok=$(grep -c '  100, ' "$WORK/pelmora.log" || true)
pages=$(find "$WORK/out-soffice" -maxdepth 1 -name '*.html' | wc -l)
printf 'pelmora: %6.2f s  (%d of %d converted)\n' "$pelmora_time" "$ok" "$COUNT"
printf 'soffice: %6.2f s  (%d pages)\n' "$soffice_time" "$pages"
printf 'ratio pelmora/soffice: %.2f (goal <= 1.00)\n' "$(awk "BEGIN { print $pelmora_time / $soffice_time }")"
