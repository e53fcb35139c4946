#!/usr/bin/env bash
# Fits the weights of the expected-cost model (engine/ExpectedCost.cpp) to this
# machine: converts the benchmark's mixed batch (COPIES of each sample, default 1)
# ROUNDS times with JOBS offices (default 1: no document shares the machine with
# another), takes each document's median time, and fits seconds = base + weights x megabytes of each kind
# by least squares (cost_fit). Prints the fitted weights and how the fitted and the
# built-in weights rank and sum the documents. Also writes the measured documents as
# "kind bytes embedded-bytes seconds" lines, in list order, to FILE when given.
#
# Usage: bench/fit_cost_weights.sh [ROUNDS] [COPIES] [JOBS] [FILE]
source "$(dirname "$0")/common.sh"
ROUNDS="${1:-3}"
COPIES="${2:-1}"
JOBS="${3:-1}"
RECORD="${4:-}"
require_built "$BUILD/app/pelmora" "$BUILD/bench/cost_fit"

WORK="$(mktemp -d "${TMPDIR:-/tmp}/pelmora-fit-XXXXXX")"
trap 'rm -rf "$WORK"' EXIT
"$ROOT/bench/make_batch.sh" "$WORK/batch" "$COPIES" mixed

for ((round = 1; round <= ROUNDS; round++)); do
    rm -rf "$WORK/out"
    "$BUILD/app/pelmora" "$WORK/batch/*.doc;*.rtf;*.xml" "-d:$WORK/out" -j "$JOBS" --json \
        >"$WORK/round-$round.json" 2>/dev/null || true
done

# "seconds path" of each document converted (code 100), the median over the rounds.
cat "$WORK"/round-*.json |
    sed -n 's/^{"source":"\([^"]*\)".*"code":100,.*"seconds":\([0-9.]*\).*/\1 \2/p' |
    sort -k1,1 -k2,2g |
    awk '{ t[$1] = t[$1] " " $2; n[$1]++ }
         END { for (f in t) { split(substr(t[f], 2), v, " "); print v[int((n[f] + 1) / 2)], f } }' \
    >"$WORK/times"
"$BUILD/bench/cost_fit" --record "$WORK/record" <"$WORK/times"
if [ -n "$RECORD" ]; then
    # In list order, as the report gives it.
    sed -n 's/^{"source":"\([^"]*\)".*/\1/p' "$WORK/round-1.json" >"$WORK/order"
    awk 'NR == FNR { line[$1] = $0; next } $1 in line { print line[$1] }' "$WORK/record" "$WORK/order" |
        cut -d' ' -f2- >"$RECORD"
fi
