#!/usr/bin/env bash
# Renders a PNG of every screen into docs/screenshots/ (or the folder given),
# headless, with the CJK font that the program's texts need.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target velmora_screenshots
QT_QPA_PLATFORM=offscreen build/release/velmora_screenshots "${1:-docs/screenshots}"
