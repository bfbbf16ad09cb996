#!/usr/bin/env bash
# Builds an optimised Korvalend and prints its speed and memory figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DKORVALEND_BUILD_TESTS=OFF >/dev/null
cmake --build build-release -j"$(nproc)" --target korvalend-cli korvalend-bench >/dev/null
build-release/bin/korvalend-bench build-release/bin/korvalend-cli
