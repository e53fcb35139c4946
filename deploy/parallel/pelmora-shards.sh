#!/usr/bin/env bash
# Runs one pelmora batch as SHARDS parts with GNU parallel, on this machine or on the
# machines given to parallel with --sshlogin. Every part gets the same arguments and
# converts its own documents; each writes its own log, and the standard output of the
# parts comes out whole, one part after the other.
#
#   SHARDS=8 LOG_DIR=/shared/logs pelmora-shards.sh '/shared/in/*.doc' -s -d /shared/out
#   SHARDS=8 SSHLOGIN='4/host1,4/host2' pelmora-shards.sh '/shared/in/*.doc' -s -d /shared/out
#
# Environment: SHARDS (default: the number of cores here), SSHLOGIN (parallel's
# --sshlogin value; default: this machine only), LOG_DIR (default: the working folder),
# PELMORA (the program; default: pelmora from PATH), PARALLEL_OPTIONS (more options for
# parallel, split at blanks). Quote wildcard patterns: pelmora expands them itself, so
# every part sees the same list. With SSHLOGIN, the paths must be the same on every
# machine (a shared file system) and pelmora must be installed on each.
set -euo pipefail

if (($# == 0)); then
    echo "usage: [SHARDS=N] [SSHLOGIN=...] [LOG_DIR=DIR] $0 FILES-OR-PATTERNS... [pelmora options]" >&2
    exit 64
fi

shards="${SHARDS:-$(nproc)}"
if ! [[ "$shards" =~ ^[1-9][0-9]*$ ]]; then
    echo "$0: SHARDS must be a whole number above 0, not '$shards'" >&2
    exit 64
fi
log_dir="${LOG_DIR:-$PWD}"
pelmora="${PELMORA:-pelmora}"

options=(--jobs "$shards" --keep-order --halt never)
if [[ -n "${SSHLOGIN:-}" ]]; then
    options+=(--sshlogin "$SSHLOGIN")
fi
if [[ -n "${PARALLEL_OPTIONS:-}" ]]; then
    read -r -a more <<<"$PARALLEL_OPTIONS"
    options+=("${more[@]}")
fi

# -q hands every argument over as it is (no shell expands a pattern on the way), and {}
# is the part number. parallel's exit status counts the parts that did not end with 0.
exec parallel -q "${options[@]}" \
    "$pelmora" "$@" --shard "{}/$shards" "-l:$log_dir/shard-{}-of-$shards.log" \
    ::: $(seq 1 "$shards")
