#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, command line, desktop, and the
# fuzz targets replayed on their seeds).
#   scripts/test.sh              Release build in build/
#   scripts/test.sh --sanitize   (or TAVIK_SANITIZE=1) with AddressSanitizer and UBSan, in
#                                build-sanitize/; any fault or leak fails its test
# A warning in core/, formats/ or output/ fails the build here (TAVIK_WERROR=0 lets it pass).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
for arg in "$@"; do
  case $arg in
    --sanitize) export TAVIK_SANITIZE=1 ;;
    *) echo "usage: $0 [--sanitize]" >&2; exit 2 ;;
  esac
done
if [ "${TAVIK_SANITIZE:-0}" = 1 ]; then
  build=${TAVIK_BUILD_DIR:-$root/build-sanitize}
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}
else
  build=${TAVIK_BUILD_DIR:-$root/build}
fi
export TAVIK_WERROR=${TAVIK_WERROR:-1}
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
