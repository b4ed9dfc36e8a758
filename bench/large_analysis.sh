#!/usr/bin/env bash
# The averaging and retrieval at the largest size: reciprocal averaging of the synthetic
# 100,000 relevés x 6,000 species table (24 species per relevé, dominance weights) on one and
# on two threads, with the 2,000 x 800 table that settles beside it; then scan and putting
# pass of 100,000 generated relevés in process, as a ratio to reading the two files with cat.
# With --before OLD-BUILD-DIR the same figures of another build (its bench_analysis, one
# thread only, and bench_retrieval), measured in the same run.
#   bench/large_analysis.sh [--before OLD-BUILD-DIR] [--runs N]
#   (build directory: $TAVIK_BUILD_DIR or ./build; field data: a temporary folder, or $TAVIK_BENCH_DATA)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
before="" runs=3
while [ $# -gt 0 ]; do
  case $1 in
    --before) before=$(readlink -f "$2"); shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) echo "usage: $0 [--before OLD-BUILD-DIR] [--runs N]" >&2; exit 2 ;;
  esac
done
ninja -C "$build" -j2 bench_analysis bench_retrieval >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The generated field data lives in this run's own folder, unless $TAVIK_BENCH_DATA names a
# folder to keep it in between runs.
data=${TAVIK_BENCH_DATA:-$work/fielddata}
"$build/bench/bench_retrieval" --dir "$data" --releves 100000 --write-only

echo "== averaging (this build)"
"$build/bench/bench_analysis" --averaging "$runs"
if [ -n "$before" ]; then
  echo "== averaging and constancy ($before, one thread)"
  "$before/bench/bench_analysis"
fi
echo "== retrieval in process, 100,000 relevés (this build)"
"$build/bench/bench_retrieval" --dir "$data" --releves 100000 --runs "$runs"
if [ -n "$before" ]; then
  echo "== retrieval in process, 100,000 relevés ($before)"
  "$before/bench/bench_retrieval" --dir "$data" --releves 100000 --runs "$runs"
fi
