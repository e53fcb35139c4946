#!/usr/bin/env bash
# Writes a batch of Word documents (.doc, .rtf, Word 2003 .xml) for the benchmarks.
#
# Usage: bench/make_batch.sh FOLDER [COPIES] [uniform|mixed|pagefields]
#   uniform (default): the readable samples COPIES times each, the damaged one and the
#     one that crashes some ways of loading once, and 21 x COPIES generated documents
#     of five to six pages; every document takes well under a second.
#   mixed: the same, and after them in name order five long documents (three long
#     tables of 9 to 15 s each, two picture-heavy ones of about 2 s), as real folders
#     hold their big reports late. LONG_SCALE (default 3) sizes them, as the SCALE of
#     bench/make_long_documents.sh.
#   pagefields: only the generated documents, each with "Page X of Y" in its footer:
#     the documents whose page needs the office's page layout.
source "$(dirname "$0")/common.sh"
CORPUS="$ROOT/tests/data/corpus"
BATCH="$1"
COPIES="${2:-5}"
KIND="${3:-uniform}"
WORK="$(mktemp -d "${TMPDIR:-/tmp}/pelmora-make-XXXXXX")"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$BATCH" "$WORK/made"

# The readable samples, COPIES times; the damaged one and the one that crashes some
# ways of loading once each, as a real batch holds a few such files. Not the encrypted
# one, which needs its password.
if [ "$KIND" != pagefields ]; then
    for f in simple two_images empty Word95 table-merges HeaderFooterUnicode; do
        for ((i = 1; i <= COPIES; i++)); do
            cp "$CORPUS/$f.doc" "$BATCH/$f-$i.doc"
        done
    done
    cp "$CORPUS/Fuzzed.doc" "$CORPUS/FloatingPictures.doc" "$BATCH/"
fi

# Generated documents of a real length (five to six pages: headings, paragraphs with
# mixed formatting, a table of 30 rows, a picture; every third one, in a pagefields
# batch every one, with "Page X of Y" in its footer): RTF written here, Word 2003 XML
# and more .doc made from it by the office itself.
PNG=89504e470d0a1a0a0000000d4948445200000004000000040802000000269309290000001049444154789c63f8cfc000470cc47100ae930ff1d05f239e0000000049454e44ae426082
for ((i = 1; i <= 7 * COPIES; i++)); do
    {
        printf '{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}}\\fs24 '
        if ((i % 3 == 0)) || [ "$KIND" = pagefields ]; then
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

if [ "$KIND" = mixed ]; then
    "$ROOT/bench/make_long_documents.sh" "$WORK/long" "${LONG_SCALE:-3}"
    for f in "$WORK"/long/*; do
        cp "$f" "$BATCH/zz-annual-$(basename "$f")"
    done
fi
