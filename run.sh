#!/usr/bin/env bash
# Builds a Release build of Velmora and starts it.
set -euo pipefail
cd "$(dirname "$0")"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); to run without one, use: xvfb-run ./run.sh" >&2
    exit 1
fi

tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target velmora
exec build/release/velmora "$@"
