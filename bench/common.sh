# Shared by the benchmark scripts: sourced, never run. Sets ROOT (the checkout), BUILD
# (the build folder, PELMORA_BUILD_DIR or build/) and strict error handling, and offers
# require_built, which stops the script when a built program it needs is missing.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${PELMORA_BUILD_DIR:-$ROOT/build}"

# require_built PROGRAM...: every PROGRAM must be an executable file.
require_built() {
    local tool
    for tool in "$@"; do
        if [ ! -x "$tool" ]; then
            echo "$tool is not built: run scripts/setup.sh first" >&2
            exit 1
        fi
    done
}
