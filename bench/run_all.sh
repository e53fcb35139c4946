#!/usr/bin/env bash
# Runs every benchmark of bench/ to its end, one after another, and fails when one
# aborts, exits with an error or reports a skipped case (Google Benchmark's "ERROR
# OCCURRED"). Run it before reporting figures; the machine should be otherwise idle,
# since all of these measure time.
#
# Usage: bench/run_all.sh [FILTER]   FILTER is passed as --benchmark_filter to each.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${PELMORA_BUILD_DIR:-$ROOT/build}"
FILTER="${1:-.}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

failed=()
for bench in "$BUILD"/bench/*_bench; do
    [ -x "$bench" ] || continue
    name="$(basename "$bench")"
    echo "== $name"
    output="$("$bench" --benchmark_filter="$FILTER" 2>&1)"
    status=$?
    echo "$output"
    if [ $status -ne 0 ] || grep -q "ERROR OCCURRED" <<<"$output"; then
        failed+=("$name")
    fi
done
echo "== batch_vs_soffice.sh (one copy, one round)"
if ! "$ROOT/bench/batch_vs_soffice.sh" 1 1; then
    failed+=(batch_vs_soffice.sh)
fi

if ((${#failed[@]})); then
    echo "did not run to their end: ${failed[*]}" >&2
    exit 1
fi
echo "every benchmark ran to its end"
