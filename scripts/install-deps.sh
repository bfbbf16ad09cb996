#!/usr/bin/env bash
# Installs what building and testing Korvalend needs on Debian 12. Safe to run again.
set -euo pipefail

packages=(g++ cmake make pkg-config libgtest-dev libgmock-dev googletest python3
          qt6-base-dev libgl-dev fonts-dejavu-core)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null; then
        sudo_cmd=(sudo)
    else
        echo "install-deps: missing packages ${missing[*]}; run this script as root" >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
