#!/usr/bin/env bash
# Configures and builds everything in Release into build/ (or $TAVIK_BUILD_DIR).
# With TAVIK_SANITIZE=1: with AddressSanitizer and UndefinedBehaviorSanitizer, optimised
# with line information, without the benchmarks, into build-sanitize/ (or $TAVIK_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${TAVIK_SANITIZE:-0}" = 1 ]; then
  build=${TAVIK_BUILD_DIR:-$root/build-sanitize}
  options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIK_SANITIZE=ON -DTAVIK_BUILD_BENCH=OFF)
else
  build=${TAVIK_BUILD_DIR:-$root/build}
  options=(-DCMAKE_BUILD_TYPE=Release -DTAVIK_SANITIZE=OFF -DTAVIK_BUILD_BENCH=ON)
fi
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
