#!/usr/bin/env bash
# Every test: installs what is needed, builds, runs the unit tests, the same tests once more
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the drive test against the CD/DVD
# drives that QEMU emulates.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/run-tests.sh
scripts/run-tests.sh --sanitize
tests/qemu/run-drive-tests.sh
