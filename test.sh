#!/usr/bin/env bash
# Builds Velmora and runs every test headless.
#   ./test.sh             the Release build
#   ./test.sh --sanitize  the same suite under AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")"

preset=release
extra=()
case "${1:-}" in
    "") ;;
    # clang builds the fuzz target of the number text (its test is skipped without it).
    --sanitize) preset=sanitize; extra=(clang) ;;
    *) echo "usage: ./test.sh [--sanitize]" >&2; exit 2 ;;
esac

tools/install-deps.sh poppler-utils "${extra[@]}"
export QT_QPA_PLATFORM=offscreen
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
