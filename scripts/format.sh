#!/usr/bin/env bash
# Formats the C++ sources in place by .clang-format, or with --check lists the files it would
# change and how many lines, and fails when there are any.
#   scripts/format.sh [--check] [file or folder...]   (default: every tracked .cpp and .h)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
check=0
paths=()
for arg in "$@"; do
  case $arg in
    --check) check=1 ;;
    -*) echo "usage: $0 [--check] [file or folder...]" >&2; exit 2 ;;
    *) paths+=("$arg") ;;
  esac
done
command -v clang-format >/dev/null || { echo "clang-format is missing: scripts/setup.sh installs it" >&2; exit 2; }
mapfile -t files < <(git ls-files -- "${paths[@]}" | grep -E '\.(cpp|h)$')
if [ "$check" = 0 ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -r -n 50 -P "$(nproc)" clang-format -i --style=file
  exit 0
fi
changed=0 lines=0
for f in "${files[@]}"; do
  n=$(clang-format --style=file "$f" | diff "$f" - | grep -c '^<' || true)
  if [ "$n" -gt 0 ]; then
    echo "$f: $n lines"
    changed=$((changed + 1)) lines=$((lines + n))
  fi
done
echo "${#files[@]} files, $changed to format, $lines lines would change"
[ "$changed" = 0 ]
