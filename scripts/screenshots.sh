#!/usr/bin/env bash
# Regenerates the pictures in docs/screenshots/: builds korvalend and lets it photograph its own
# forms under Qt's offscreen platform (no display needed), with the built-in CD-R demo drive.
# The main window with a report, the about dialog, the builder.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target korvalend >/dev/null

# A settings home of its own, so that a size stored by earlier runs does not change the pictures.
settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$settings" XDG_RUNTIME_DIR="$settings" \
    build/bin/korvalend --demo cd-r --screenshot docs/screenshots
ls -l docs/screenshots
