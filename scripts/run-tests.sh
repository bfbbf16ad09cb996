#!/usr/bin/env bash
# Installs the dependencies, builds Korvalend and runs every test.
#   scripts/run-tests.sh              normal build in build/
#   scripts/run-tests.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [[ "${1:-}" == "--sanitize" ]]; then
    build_dir=build-sanitize
    cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DKORVALEND_SANITIZE=ON)
fi

scripts/install-deps.sh
cmake -S . -B "$build_dir" "${cmake_args[@]}"
cmake --build "$build_dir" -j"$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)"
