#!/usr/bin/env bash
# Reciprocal averaging and the constancy table, with ratios to their targets:
#  1. tavik-cli ra (the whole process, loading included) on a 2,000 x 800 table with about
#     30 species per relevé, beside vegan::decorana(ira = 1) on the same weight matrix in R,
#     timed in the same run (R and vegan: bench/setup-r.sh);
#  2. bench_analysis: RA on 100,000 x 6,000, memory above the table, and the constancy table
#     of 100,000 relevés in 30 groups.
#   bench/analysis.sh            (build directory: $TAVIK_BUILD_DIR or ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
ninja -C "$build" -j2 tavik-cli gen_table bench_analysis >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=5

"$build/gen_table" 2000 800 "$work/t.vtb" 30 1
"$build/bench/bench_analysis" --weights "$work/t.vtb" "$work/w.csv"

ms_now() { date +%s%N; }
# Median wall time in microseconds of `runs` runs of a command; its stderr is kept in err.
median_us() {
  local times=() a b
  for _ in $(seq "$runs"); do
    a=$(ms_now)
    "$@" 2>"$work/err"
    b=$(ms_now)
    times+=($(( (b - a) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}
tavik_us=$(median_us "$build/tavik-cli" ra "$work/t.vtb" --dominance)
iterations=$(sed -n 's/^反復回数: //p' "$work/err")
all_us=$(median_us "$build/tavik-cli" ra "$work/t.vtb" --dominance --scores "$work/s.csv" -o "$work/o.vtb")
ms() { awk -v u="$1" 'BEGIN { printf "%.1f", u / 1000 }'; }

echo "RA 2,000 x 800 ($(awk -F, 'END { print NR }' "$work/w.csv") relevés, about 30 species each, dominance weights), median of $runs runs"
echo "  tavik-cli ra --dominance (whole process, loading included):             $(ms "$tavik_us") ms, $iterations iterations"
echo "  the same, also writing the scores and saving the reordered table:      $(ms "$all_us") ms"
if command -v Rscript >/dev/null && Rscript -e 'quit(status = !requireNamespace("vegan", quietly = TRUE))' 2>/dev/null; then
  r_ms=$(Rscript -e '
    suppressMessages(library(vegan))
    m <- as.matrix(read.csv(commandArgs(TRUE)[1], header = FALSE))
    t <- replicate('"$runs"', system.time(decorana(m, ira = 1))[["elapsed"]])
    cat(median(t) * 1000)' "$work/w.csv")
  echo "  vegan::decorana(ira = 1) on the same matrix (the call alone):          ${r_ms} ms"
  awk -v a="$tavik_us" -v r="$r_ms" 'BEGIN { printf "  ratio tavik-cli ra / decorana: %.2f (target below 1)\n", (a / 1000) / r }'
else
  echo "  R with vegan is not installed (bench/setup-r.sh): no comparison"
fi
echo
"$build/bench/bench_analysis"
