#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, command line, desktop).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
