#!/usr/bin/env bash
# Converts two batches of Word documents (.doc, .rtf, Word 2003 .xml) several ways,
# each into a fresh output folder, and prints the times, the documents each converted
# and the ratios:
#   pelmora with its default pool of offices (one per core), and with -j 1, its offices
#   in their sandbox (--sandbox=on); and the default pool once more without the sandbox
#   ("open", --sandbox=off), for the sandbox's cost;
#   one "soffice --headless --convert-to html" process over the whole batch;
#   N such processes side by side on N equal parts of the batch (N = cores), each with
#   its own profile, as a user would split the work by hand.
# The batches (bench/make_batch.sh): "uniform", short documents only, and "mixed", the
# same with five long documents (2 to 15 s each) late in the list.
# Goals on 2 cores, default pool: pelmora / one soffice <= 0.60 on both batches;
# pelmora / N soffice <= 1.0 on the uniform batch and <= 0.80 on the mixed one; at
# least as many documents converted as either; pool / open < 1.03. It also prints how much of the
# sessions' time pelmora spent inside office calls; the rest is pelmora's own share
# (goal < 10%).
#
# Usage: [PELMORA_BATCHES="uniform mixed"] bench/batch_vs_soffice.sh [COPIES] [ROUNDS]
#   COPIES of each sample (default 5); ROUNDS of all ways on both batches, interleaved,
#   of which the medians are printed (default 3). PELMORA_BATCHES names other batches
#   of bench/make_batch.sh to run instead, such as "pagefields".
# Needs a built pelmora (./test.sh or scripts/setup.sh) and no other office running
# under the same profile.
source "$(dirname "$0")/common.sh"
PELMORA="$BUILD/app/pelmora"
COPIES="${1:-5}"
ROUNDS="${2:-3}"
CORES="$(nproc)"
require_built "$PELMORA"

WORK="$(mktemp -d "${TMPDIR:-/tmp}/pelmora-batch-XXXXXX")"
trap 'rm -rf "$WORK"' EXIT
read -r -a BATCHES <<<"${PELMORA_BATCHES:-uniform mixed}"
for list in "${BATCHES[@]}"; do
    "$ROOT/bench/make_batch.sh" "$WORK/$list" "$COPIES" "$list"
    echo "$list batch: $(find "$WORK/$list" -maxdepth 1 -type f | wc -l) documents" \
        "($(ls "$WORK/$list" | grep -c '\.doc$') .doc, $(ls "$WORK/$list" | grep -c '\.rtf$') .rtf," \
        "$(ls "$WORK/$list" | grep -c '\.xml$') .xml)"
done

now() { date +%s.%N; }
elapsed() { awk "BEGIN { print $(now) - $1 }"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# N equal parts of each batch (by count, in name order), and a warm profile for each
# soffice of the side-by-side runs and for the single one.
PROFILE="file://$WORK/profile"
for list in "${BATCHES[@]}"; do
    mapfile -t FILES < <(find "$WORK/$list" -maxdepth 1 -type f | sort)
    PART_SIZE=$(((${#FILES[@]} + CORES - 1) / CORES))
    for ((k = 0; k < CORES; k++)); do
        mkdir -p "$WORK/$list-part-$k"
        for f in "${FILES[@]:k*PART_SIZE:PART_SIZE}"; do
            ln -s "$f" "$WORK/$list-part-$k/"
        done
    done
done
for profile in "$PROFILE" $(for ((k = 0; k < CORES; k++)); do echo "file://$WORK/profile-$k"; done); do
    soffice "-env:UserInstallation=$profile" --headless --convert-to html \
        --outdir "$WORK/warm" "$ROOT/tests/data/corpus/simple.doc" >/dev/null 2>&1
done

# Each way takes the batch's name and leaves its time in $took.
run_pelmora() {
    local list="$1" jobs="$2" sandbox="$3" start
    rm -rf "$WORK/out-pelmora" "$WORK/pelmora.log"
    mkdir -p "$WORK/out-pelmora"
    start=$(now)
    PELMORA_POOL_STATS=1 "$PELMORA" "$WORK/$list/*.doc;*.rtf;*.xml" "-d:$WORK/out-pelmora" -f1 \
        "-l:$WORK/pelmora.log" ${jobs:+-j "$jobs"} "--sandbox=$sandbox" >/dev/null \
        2>"$WORK/pool-$sandbox.txt" || true
    took=$(elapsed "$start")
    converted=$(grep -c '  100, ' "$WORK/pelmora.log" || true)
}
run_soffice() {
    local list="$1" start
    rm -rf "$WORK/out-soffice"
    mkdir -p "$WORK/out-soffice"
    start=$(now)
    soffice "-env:UserInstallation=$PROFILE" --headless --convert-to html \
        --outdir "$WORK/out-soffice" "$WORK/$list"/* >/dev/null 2>&1 || true
    took=$(elapsed "$start")
    converted=$(find "$WORK/out-soffice" -maxdepth 1 -name '*.html' | wc -l)
}
run_parts() {
    local list="$1" start
    rm -rf "$WORK/out-parts"
    start=$(now)
    for ((k = 0; k < CORES; k++)); do
        soffice "-env:UserInstallation=file://$WORK/profile-$k" --headless --convert-to html \
            --outdir "$WORK/out-parts" "$WORK/$list-part-$k"/* >/dev/null 2>&1 &
    done
    wait || true
    took=$(elapsed "$start")
    converted=$(find "$WORK/out-parts" -maxdepth 1 -name '*.html' | wc -l)
}

# The ways in the order of a round; the order turns each round, so that a machine
# growing slower or faster during a round does not favour one way.
WAYS=(pool one parts single open)
run_way() {
    case "$2" in
    pool) run_pelmora "$1" "" on ;;
    single) run_pelmora "$1" 1 on ;;
    open) run_pelmora "$1" "" off ;;
    one) run_soffice "$1" ;;
    parts) run_parts "$1" ;;
    esac
}

for ((round = 1; round <= ROUNDS; round++)); do
    for list in "${BATCHES[@]}"; do
        order=("${WAYS[@]}")
        if ((round % 2 == 0)); then
            order=("${WAYS[4]}" "${WAYS[3]}" "${WAYS[2]}" "${WAYS[1]}" "${WAYS[0]}")
        fi
        line=""
        for way in "${order[@]}"; do
            run_way "$list" "$way"
            echo "$took" >"$WORK/$list-$way.took"
            echo "$converted" >"$WORK/$list-$way.converted"
            if [ "$way" = pool ]; then
                # "...(99.1% of session time)": the share of the sessions' time in office calls.
                sed -n 's/.*(\([0-9.]*\)% of session time).*/\1/p' "$WORK/pool-on.txt" >>"$WORK/$list-share"
            fi
            line+=$(printf ' %s %.2f s' "$way" "$took")
        done
        echo "$(cat "$WORK/$list-pool.took") $(cat "$WORK/$list-single.took")" \
            "$(cat "$WORK/$list-one.took") $(cat "$WORK/$list-parts.took")" \
            "$(cat "$WORK/$list-open.took")" >>"$WORK/$list-times"
        echo "round $round, $list:$line"
    done
done

# Ratios are taken round by round, where the ways ran under the same conditions, and
# their median is printed: this shared machine's speed drifts more between rounds than
# the ways differ.
ratio() { awk "{ print \$$2 / \$$3 }" "$WORK/$1-times" | median; }
printf '\nmedians of %d rounds, %d cores (pool = pelmora default, single = pelmora -j 1, open = pool without sandbox):\n' \
    "$ROUNDS" "$CORES"
for list in "${BATCHES[@]}"; do
    count=$(find "$WORK/$list" -maxdepth 1 -type f | wc -l)
    printf '%s batch:\n' "$list"
    column=1
    for way in pool single one parts open; do
        printf '  %-7s %7.2f s  (%d of %d converted)\n' "$way" \
            "$(awk "{ print \$$column }" "$WORK/$list-times" | median)" \
            "$(cat "$WORK/$list-$way.converted")" "$count"
        column=$((column + 1))
    done
    goal_parts=1.0
    [ "$list" = mixed ] && goal_parts=0.80
    printf '  pool / one soffice:      %.2f (goal <= 0.60)\n' "$(ratio "$list" 1 3)"
    printf '  pool / %d soffice:        %.2f (goal <= %s)\n' "$CORES" "$(ratio "$list" 1 4)" "$goal_parts"
    printf '  single / one soffice:    %.2f\n' "$(ratio "$list" 2 3)"
    printf '  single / %d soffice:      %.2f\n' "$CORES" "$(ratio "$list" 2 4)"
    printf '  sandbox on / off (pool / open): %.3f (goal < 1.03)\n' "$(ratio "$list" 1 5)"
    share=$(median <"$WORK/$list-share")
    printf '  pool sessions inside office calls: %.1f%%, its own share %.1f%% (goal < 10%%)\n' \
        "${share:-0}" "$(awk "BEGIN { print 100 - ${share:-0} }")"
done
cat "$WORK/pool-on.txt"
