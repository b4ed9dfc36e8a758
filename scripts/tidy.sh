#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over core/, formats/ and output/ with the build's
# compile_commands.json, and fails when it finds anything.
#   scripts/tidy.sh [file...]      (build directory: $TAVIK_BUILD_DIR or ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
cd "$root"
command -v clang-tidy >/dev/null || { echo "clang-tidy is missing: scripts/setup.sh installs it" >&2; exit 2; }
[ -f "$build/compile_commands.json" ] || "$root/scripts/build.sh"
if [ $# -gt 0 ]; then files=("$@"); else mapfile -t files < <(git ls-files 'core/*.cpp' 'formats/*.cpp' 'output/*.cpp'); fi
out=$(mktemp)
trap 'rm -f "$out"' EXIT
# The build's flags are GCC's; clang does not know some of its warning options.
printf '%s\0' "${files[@]}" |
  xargs -0 -r -n 4 -P "$(nproc)" clang-tidy -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option \
    2>/dev/null >"$out" || true
# A header's findings come once for every file that includes it.
findings=$(grep -E '^[^ ].*: (warning|error): ' "$out" | sort -u || true)
if [ -n "$findings" ]; then
  echo "$findings"
  echo "$(echo "$findings" | wc -l) findings in ${#files[@]} files"
  exit 1
fi
echo "clang-tidy: ${#files[@]} files, no findings"
