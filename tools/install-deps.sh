#!/usr/bin/env bash
# Installs what building and running the program needs, on Debian or Ubuntu.
# Quick and silent when everything is already there.
set -euo pipefail

packages=(g++ cmake ninja-build qt6-base-dev qt6-svg-dev qt6-translations-l10n libeigen3-dev libgdal-dev fonts-noto-cjk fonts-wqy-microhei "$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
    echo "Missing packages: ${missing[*]}. Install them with your package manager." >&2
    exit 1
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "Missing packages: ${missing[*]}; run as root or install sudo." >&2
        exit 1
    fi
    sudo=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
