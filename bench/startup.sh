#!/usr/bin/env bash
# Start-up of the desktop program: time to a shown empty window, and to a shown window with a
# 2,000-relevé table named on the command line. Each case runs several times; the median of
# the wall-clock times (process start to exit right after the first paint) is printed, with
# the program's own figure (process start to shown) beside it.
#   bench/startup.sh [RUNS]          (build directory: $TAVIK_BUILD_DIR or ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
runs=${1:-7}
tavik="$build/ui/tavik"
gen="$build/gen_table"
for exe in "$tavik" "$gen"; do
  [ -x "$exe" ] || { echo "missing $exe: build first (scripts/build.sh)" >&2; exit 1; }
done
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export TAVIK_EXIT_AFTER_SHOW=1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/tables"
cp "$tavik" "$work/bin/tavik"   # settings beside the program, in a scratch folder
"$gen" 2000 800 "$work/tables/t2000.vtb" 30 1
printf 'table: %s (%s bytes)\n' "$work/tables/t2000.vtb" "$(stat -c %s "$work/tables/t2000.vtb")"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

measure() {  # name, args...
  local name=$1; shift
  local walls=() owns=()
  for _ in $(seq "$runs"); do
    local t0 t1 own
    t0=$(date +%s%N)
    own=$("$work/bin/tavik" "$@" 2>&1 >/dev/null | sed -n 's/.*shown after \([0-9]*\) ms.*/\1/p')
    t1=$(date +%s%N)
    walls+=($(( (t1 - t0) / 1000000 )))
    owns+=("${own:-0}")
  done
  local mw mo
  mw=$(printf '%s\n' "${walls[@]}" | median)
  mo=$(printf '%s\n' "${owns[@]}" | median)
  printf '%-38s median %5d ms wall, %5d ms to shown (budget 1000 ms: %.2f of it)\n' \
    "$name" "$mw" "$mo" "$(awk -v m="$mw" 'BEGIN{print m/1000}')"
}

measure "empty window"
measure "2,000 relevés from the command line" "$work/tables/t2000.vtb"
