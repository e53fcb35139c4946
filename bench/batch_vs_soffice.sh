#!/usr/bin/env bash
# Converts one batch of Word documents (.doc, .rtf, Word 2003 .xml) three ways, each
# into a fresh output folder, and prints the times, the documents each converted and
# the ratios:
#   pelmora with its default pool of offices (one per core);
#   one "soffice --headless --convert-to html" process over the whole batch;
#   N such processes side by side on N equal parts of the batch (N = cores), each with
#   its own profile, as a user would split the work by hand.
# Goals on 2 cores: pelmora / one soffice <= 0.60, pelmora / N soffice <= 0.85, and at
# least as many documents converted as either. It also prints how much of the sessions'
# time pelmora spent inside office calls; the rest is pelmora's own share (goal < 10%).
#
# Usage: bench/batch_vs_soffice.sh [COPIES] [ROUNDS]
#   COPIES of each sample (default 5); ROUNDS of the three ways, interleaved, of which
#   the medians are printed (default 3).
# Needs a built pelmora (./test.sh or scripts/setup.sh) and no other office running
# under the same profile.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${PELMORA_BUILD_DIR:-$ROOT/build}"
PELMORA="$BUILD/app/pelmora"
CORPUS="$ROOT/tests/data/corpus"
COPIES="${1:-5}"
ROUNDS="${2:-3}"
CORES="$(nproc)"

if [ ! -x "$PELMORA" ]; then
    echo "pelmora is not built: run scripts/setup.sh first" >&2
    exit 1
fi

WORK="$(mktemp -d "${TMPDIR:-/tmp}/pelmora-batch-XXXXXX")"
trap 'rm -rf "$WORK"' EXIT
BATCH="$WORK/batch"
mkdir -p "$BATCH" "$WORK/made"

# The readable samples, COPIES times; the damaged one and the one that crashes some
# ways of loading once each, as a real batch holds a few such files. Not the encrypted
# one, which needs its password.
for f in simple two_images empty Word95 table-merges HeaderFooterUnicode; do
    for ((i = 1; i <= COPIES; i++)); do
        cp "$CORPUS/$f.doc" "$BATCH/$f-$i.doc"
    done
done
cp "$CORPUS/Fuzzed.doc" "$CORPUS/FloatingPictures.doc" "$BATCH/"

# Generated documents of a real length (five to six pages: headings, paragraphs with
# mixed formatting, a table of 30 rows, a picture; every third one with "Page X of Y"
# in its footer): RTF written here, Word 2003 XML and more .doc made from it by the
# office itself.
PNG=89504e470d0a1a0a0000000d4948445200000004000000040802000000269309290000001049444154789c63f8cfc000470cc47100ae930ff1d05f239e0000000049454e44ae426082
for ((i = 1; i <= 7 * COPIES; i++)); do
    {
        printf '{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}}\\fs24 '
        if ((i % 3 == 0)); then
            printf '{\\footer\\pard\\qc Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} of '
            printf '{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}\\par}'
        fi
        for ((section = 1; section <= 4; section++)); do
            printf '\\pard\\sb240\\sa120{\\f1\\fs32\\b Part %d of document %d}\\par ' "$section" "$i"
            for ((p = 1; p <= 30; p++)); do
                printf '\\pard\\sa120 Paragraph %d of part %d: the quick brown fox jumps over ' "$p" "$section"
                printf 'the lazy dog, {\\i in italics}, {\\b in bold}, {\\ul underlined} and ' 
                printf '{\\lang1031 ein deutsches Wort}; the report goes on for a while so that '
                printf 'each paragraph fills a few lines of the page.\\par '
            done
        done
        for ((r = 1; r <= 30; r++)); do
            printf '\\trowd\\cellx2500\\cellx5000\\cellx7500\\intbl Row %d\\cell %d\\cell %d\\cell\\row ' \
                "$r" "$((r * i))" "$((r + i))"
        done
        printf '\\pard{\\pict\\pngblip\\picw4\\pich4\\picwgoal600\\pichgoal600 %s}\\par}' "$PNG"
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
elapsed() { awk "BEGIN { print $(now) - $1 }"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# N equal parts of the batch (by count, in name order), and a warm profile for each
# soffice of the side-by-side run, as for the single one above.
mapfile -t FILES < <(find "$BATCH" -maxdepth 1 -type f | sort)
PART_SIZE=$(((COUNT + CORES - 1) / CORES))
for ((k = 0; k < CORES; k++)); do
    mkdir -p "$WORK/part-$k"
    for f in "${FILES[@]:k*PART_SIZE:PART_SIZE}"; do
        ln -s "$f" "$WORK/part-$k/"
    done
    soffice "-env:UserInstallation=file://$WORK/profile-$k" --headless --convert-to html \
        --outdir "$WORK/warm-$k" "$WORK/made/gen-1.rtf" >/dev/null 2>&1
done

: >"$WORK/times"
run_pelmora() {
    rm -rf "$WORK/out-pelmora" "$WORK/pelmora.log"
    mkdir -p "$WORK/out-pelmora"
    local start
    start=$(now)
    PELMORA_POOL_STATS=1 "$PELMORA" "$BATCH/*.doc;*.rtf;*.xml" "-d:$WORK/out-pelmora" -f1 \
        "-l:$WORK/pelmora.log" >/dev/null 2>"$WORK/pool.txt" || true
    pelmora_time=$(elapsed "$start")
}
run_soffice() {
    rm -rf "$WORK/out-soffice"
    mkdir -p "$WORK/out-soffice"
    local start
    start=$(now)
    soffice "-env:UserInstallation=$PROFILE" --headless --convert-to html \
        --outdir "$WORK/out-soffice" "$BATCH"/* >/dev/null 2>&1 || true
    soffice_time=$(elapsed "$start")
}
run_parts() {
    rm -rf "$WORK/out-parts"
    local start
    start=$(now)
    for ((k = 0; k < CORES; k++)); do
        soffice "-env:UserInstallation=file://$WORK/profile-$k" --headless --convert-to html \
            --outdir "$WORK/out-parts" "$WORK/part-$k"/* >/dev/null 2>&1 &
    done
    wait || true
    parts_time=$(elapsed "$start")
}

for ((round = 1; round <= ROUNDS; round++)); do
    # The order turns each round, so that a machine growing slower or faster during a
    # round does not favour one way; a round's ratios compare runs a minute apart at most.
    if ((round % 2 == 1)); then
        run_pelmora
        run_soffice
        run_parts
    else
        run_parts
        run_soffice
        run_pelmora
    fi

    # "...(99.1% of session time)": the share of the sessions' time inside office calls.
    office_share=$(sed -n 's/.*(\([0-9.]*\)% of session time).*/\1/p' "$WORK/pool.txt")
    echo "$pelmora_time $soffice_time $parts_time ${office_share:-0}" >>"$WORK/times"
    printf 'round %d: pelmora %.2f s, one soffice %.2f s, %d soffice %.2f s\n' \
        "$round" "$pelmora_time" "$soffice_time" "$CORES" "$parts_time"
done

pelmora_time=$(awk '{ print $1 }' "$WORK/times" | median)
soffice_time=$(awk '{ print $2 }' "$WORK/times" | median)
parts_time=$(awk '{ print $3 }' "$WORK/times" | median)
office_share=$(awk '{ print $4 }' "$WORK/times" | median)
ok=$(grep -c '  100, ' "$WORK/pelmora.log" || true)
pages=$(find "$WORK/out-soffice" -maxdepth 1 -name '*.html' | wc -l)
part_pages=$(find "$WORK/out-parts" -maxdepth 1 -name '*.html' | wc -l)
printf '\nmedians of %d rounds, %d cores:\n' "$ROUNDS" "$CORES"
printf 'pelmora (pool):  %6.2f s  (%d of %d converted)\n' "$pelmora_time" "$ok" "$COUNT"
printf 'one soffice:     %6.2f s  (%d of %d converted)\n' "$soffice_time" "$pages" "$COUNT"
printf '%d soffice:       %6.2f s  (%d of %d converted)\n' "$CORES" "$parts_time" "$part_pages" "$COUNT"
# Ratios are taken round by round, where the ways ran under the same conditions, and
# their median is printed: this shared machine's speed drifts more between rounds than
# the ways differ.
printf 'ratio pelmora / one soffice: %.2f (median of the rounds; goal <= 0.60)\n' \
    "$(awk '{ print $1 / $2 }' "$WORK/times" | median)"
printf 'ratio pelmora / %d soffice:   %.2f (median of the rounds; goal <= 0.85)\n' "$CORES" \
    "$(awk '{ print $1 / $3 }' "$WORK/times" | median)"
printf 'pelmora sessions inside office calls: %.1f%%, its own share %.1f%% (goal < 10%%)\n' \
    "$office_share" "$(awk "BEGIN { print 100 - $office_share }")"
cat "$WORK/pool.txt"
