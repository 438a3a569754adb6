#!/usr/bin/env bash
# Builds Velmora and runs every test headless.
#   ./test.sh             the Release build
#   ./test.sh --sanitize  the same suite under AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")"

preset=release
case "${1:-}" in
    "") ;;
    --sanitize) preset=sanitize ;;
    *) echo "usage: ./test.sh [--sanitize]" >&2; exit 2 ;;
esac

tools/install-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
