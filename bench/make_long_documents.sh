#!/usr/bin/env bash
# Writes Word documents that keep one office busy for seconds, as the few long files
# of a real folder do: long tables (as .doc, .rtf and Word 2003 .xml), and many
# distinct pictures (as .doc and .rtf). The .doc and .xml files are made from RTF by
# the office itself.
#
# Usage: bench/make_long_documents.sh FOLDER [SCALE]
#   SCALE (default 1) multiplies rows and pictures. Measured in one core's time on a
#   2-core machine: at 1 the tables take 3 to 4 s to convert and the pictures 1 to 2 s;
#   at 3 the tables take 9 to 15 s (the Word 2003 table grows with the square of its
#   rows) and the pictures 2 s.
set -euo pipefail

OUT="$1"
SCALE="${2:-1}"
mkdir -p "$OUT"
MADE="$(mktemp -d "${TMPDIR:-/tmp}/pelmora-long-XXXXXX")"
trap 'rm -rf "$MADE"' EXIT

# A table of ROWS rows of three cells, with a heading every 500 rows.
long_table() {
    awk -v rows="$1" 'BEGIN {
        printf "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\fs20\n"
        for (r = 1; r <= rows; r++) {
            if (r % 500 == 1) printf "\\pard\\sb240{\\b\\fs28 Accounts from entry %d}\\par\n", r
            printf "\\trowd\\cellx2500\\cellx6000\\cellx9000\\intbl %d\\cell Item %d of the ledger\\cell %d.%02d\\cell\\row\n", r, r, r * 7, r % 100
        }
        print "\\pard\\par}"
    }'
}

# PICTURES distinct W x H pictures (24-bit device-independent bitmaps, written by
# the export as PNG) with a caption each; seed makes them differ between files.
pictures() {
    awk -v n="$1" -v w="$2" -v h="$3" -v seed="$4" '
    function le(v, bytes,   s, i) { s = ""; for (i = 0; i < bytes; i++) { s = s sprintf("%02x", v % 256); v = int(v / 256) } return s }
    BEGIN {
        srand(seed)
        printf "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\fs24\n"
        row = int((w * 3 + 3) / 4) * 4
        for (p = 1; p <= n; p++) {
            printf "\\pard Figure %d: a scanned page\\par\\pard{\\pict\\dibitmap0\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d\n", p, w, h, w * 15, h * 15
            printf "%s", le(40, 4) le(w, 4) le(h, 4) le(1, 2) le(24, 2) le(0, 4) le(row * h, 4) le(2835, 4) le(2835, 4) le(0, 4) le(0, 4)
            for (y = 0; y < h; y++) {
                line = ""
                for (x = 0; x < w; x++) line = line sprintf("%02x%02x%02x", (x * p + y) % 256, int(rand() * 256), (y * 7 + p) % 256)
                for (x = w * 3; x < row; x++) line = line "00"
                print line
            }
            printf "}\\par\n"
        }
        print "}"
    }'
}

long_table $((9000 * SCALE)) >"$MADE/ledger.rtf"
long_table $((6000 * SCALE)) >"$MADE/ledger-6000.rtf"
# Word 2003 XML costs far more a row to read (and to write: the office's export slows
# down with the square of a table's rows).
long_table $((200 * SCALE)) >"$MADE/ledger-short.rtf"
pictures $((150 * SCALE)) 160 120 1 >"$MADE/scans.rtf"
pictures $((40 * SCALE)) 160 120 2 >"$MADE/scans-small.rtf"

PROFILE="file://$MADE/profile"
soffice "-env:UserInstallation=$PROFILE" --headless --convert-to doc --outdir "$MADE/doc" \
    "$MADE/ledger.rtf" "$MADE/scans.rtf" >/dev/null 2>&1
soffice "-env:UserInstallation=$PROFILE" --headless --convert-to xml:"MS Word 2003 XML" \
    --outdir "$MADE/xml" "$MADE/ledger-short.rtf" >/dev/null 2>&1

# Each with a name of its own: two sources of one page name would share a page.
cp "$MADE/doc/ledger.doc" "$OUT/ledger-9000.doc"
cp "$MADE/doc/scans.doc" "$OUT/scans-150.doc"
cp "$MADE/xml/ledger-short.xml" "$OUT/ledger-200.xml"
cp "$MADE/ledger-6000.rtf" "$OUT/ledger-6000.rtf"
cp "$MADE/scans-small.rtf" "$OUT/scans-40.rtf"
