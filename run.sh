#!/usr/bin/env bash
# Installs what is missing, builds, and runs pelmora with the arguments given.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
"$ROOT/scripts/setup.sh"
BUILD="${PELMORA_BUILD_DIR:-$ROOT/build}"
exec "$BUILD/app/pelmora" "$@"
