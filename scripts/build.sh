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
# With TAVIK_WERROR=1 (scripts/test.sh, and so CI): a warning in core/, formats/ or output/
# fails the build.
if [ "${TAVIK_WERROR:-0}" = 1 ]; then options+=(-DTAVIK_WERROR=ON); else options+=(-DTAVIK_WERROR=OFF); fi
"$root/scripts/setup.sh"
# ccache keeps rebuilds of unchanged files short, also across checkouts of the same tree.
if command -v ccache >/dev/null; then
  options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")} CCACHE_NOHASHDIR=1
fi
cmake -S "$root" -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
