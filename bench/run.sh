#!/usr/bin/env bash
# Builds the Release preset and prints one table of medians: start-up against the
# login window in plain Qt, the first creation of every screen, the "计算" handlers
# and peak memory. Headless, with the CJK font the program's texts need. Extra arguments
# go to Google Benchmark (for example --benchmark_filter=calc).
set -euo pipefail
cd "$(dirname "$0")/.."

# Only the table goes to standard output.
tools/install-deps.sh libbenchmark-dev >&2
cmake --preset release >/dev/null
cmake --build --preset release --target velmora_bench >&2

export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR="$(mktemp -d)"
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
status=0
build/release/bench/velmora_bench "$@" || status=$?
# "计算" on the section screens again, at two device pixels to a point.
echo
QT_SCALE_FACTOR=2 build/release/bench/velmora_bench --scaled --benchmark_filter='^calc\+events/(xd|gyxd)/' \
    || status=$?
exit $status
