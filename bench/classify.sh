#!/usr/bin/env bash
# Classification, with ratios to its targets and to R:
#  1. tavik-cli classify (Bray–Curtis + Ward, the whole process, loading included) on the
#     2,000 x 800 synthetic table with about 30 species per relevé; the K scan 2-12 beyond
#     it; R's hclust(vegdist(x), "ward.D2") on the same value matrix, timed in the same run
#     (R and vegan: bench/setup-r.sh), and whether both give the same partitions and heights;
#  2. tavik-cli classify on 20,000 relevés: time and peak memory.
#   bench/classify.sh            (build directory: $TAVIK_BUILD_DIR or ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
ninja -C "$build" -j2 tavik-cli gen_table >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=5

"$build/gen_table" 2000 800 "$work/t.vtb" 30 1
# Medians of `runs` whole processes: wall ms, CPU ms, peak MB.
timed() {
  python3 - "$runs" "$@" <<'PY'
import os, statistics, sys
sys.path.insert(0, os.environ['BENCH_DIR'])
from timed_process import once
runs = int(sys.argv[1]); argv = sys.argv[2:]
r = [once(argv) for _ in range(runs)]
print(f"{statistics.median(x[0] for x in r) * 1000:.0f} {statistics.median(x[1] for x in r) * 1000:.0f} {max(x[2] for x in r):.0f}")
PY
}
export BENCH_DIR=$root/bench
read -r wall cpu mb < <(timed "$build/tavik-cli" classify "$work/t.vtb")
read -r swall scpu smb < <(timed "$build/tavik-cli" classify "$work/t.vtb" --scan 2-12)
echo "classify 2,000 x 800 (about 30 species per relevé), Bray-Curtis + Ward, median of $runs runs"
echo "  tavik-cli classify (whole process, loading included):  ${wall} ms wall, ${cpu} ms CPU, ${mb} MB peak (target 250 ms)"
read -r iwall icpu imb < <(timed "$build/tavik-cli" info "$work/t.vtb")
echo "  tavik-cli info (loading the table alone):              ${iwall} ms wall, ${icpu} ms CPU"
echo "  the same with --scan 2-12:                             ${swall} ms wall; the scan $((swall - wall)) ms (target 1000 ms)"
awk -v a="$wall" -v c="$cpu" 'BEGIN { printf "  ratio to the target: %.2f by the wall clock, %.2f by CPU time (a shared machine stretches the wall clock)\n", a / 250, c / 250 }'

if command -v Rscript >/dev/null && Rscript -e 'quit(status = !requireNamespace("vegan", quietly = TRUE))' 2>/dev/null; then
  "$build/tavik-cli" export matrix "$work/t.vtb" -o "$work/m.csv" --rows releves --method 0 >/dev/null
  "$build/tavik-cli" classify "$work/t.vtb" --groups 8 --membership "$work/k8.csv" --newick "$work/t.nwk" 2>/dev/null
  Rscript -e '
    suppressMessages(library(vegan))
    a <- commandArgs(TRUE)
    x <- as.matrix(read.csv(a[1], row.names = 1, header = TRUE, check.names = FALSE))
    x <- x[rowSums(x) > 0, ]
    st <- replicate(as.integer(a[3]), system.time(hclust(vegdist(x), "ward.D2")))
    t <- st["elapsed", ]
    u <- st["user.self", ]
    h <- hclust(vegdist(x), "ward.D2")
    cat(sprintf("  R hclust(vegdist(x), \"ward.D2\") on the same matrix (the calls alone): %.0f ms\n", median(t) * 1000))
    cat(sprintf("  ... CPU: %.0f ms; ratio of CPU times tavik-cli / R: %.3f\n", median(u) * 1000, as.numeric(a[5]) / (median(u) * 1000)))
    cat(sprintf("  ratio tavik-cli classify / R: %.3f (goal 0.1 or below)\n", as.numeric(a[4]) / (median(t) * 1000)))
    m <- read.csv(a[2], colClasses = "character")
    ours <- setNames(m$group, m$releve)[rownames(x)]
    theirs <- cutree(h, 8)
    same <- all(rowSums(table(ours, theirs) > 0) == 1) && all(colSums(table(ours, theirs) > 0) == 1)
    cat(sprintf("  the cut into 8 groups is the same partition as R'"'"'s: %s\n", if (same) "yes" else "NO"))
    ' "$work/m.csv" "$work/k8.csv" 3 "$wall" "$cpu"
else
  echo "  R with vegan is not installed (bench/setup-r.sh): no comparison"
fi

echo
"$build/gen_table" 20000 800 "$work/big.vtb" 30 2
runs=1
read -r wall cpu mb < <(timed "$build/tavik-cli" classify "$work/big.vtb" --groups 12 -o "$work/big-out.vtb")
echo "classify 20,000 x 800, Bray-Curtis + Ward, cut into 12 and saved:  ${wall} ms wall, ${cpu} ms CPU, ${mb} MB peak (targets 30 s, 2 GB)"
