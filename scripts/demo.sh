#!/usr/bin/env bash
# Installs the dependencies, builds korvalend-cli and runs it; by default the media report of
# the built-in CD-R demo drive. Any arguments are passed to korvalend-cli instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target korvalend-cli >/dev/null
if [[ $# -eq 0 ]]; then
    set -- report --demo
fi
exec build/bin/korvalend-cli "$@"
