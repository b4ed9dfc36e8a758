#!/usr/bin/env bash
# Whole tavik-cli processes on generated field data, as a user runs them: retrieval of
# 100,000 relevés with a 20,000-synonym dictionary, of 340,000 relevés with 30,000 synonyms
# (--ceiling), and every command on 2,000 relevés. Prints medians of wall-clock and CPU time,
# the peak resident memory, the ratio to cat of the same files, and with --before OLD-CLI
# the same figures of another build side by side, measured in turn in the same run.
#   bench/retrieval.sh [--before OLD-TAVIK-CLI] [--runs N] [--ceiling]
#   (build directory: $TAVIK_BUILD_DIR or ./build; data: a temporary folder, or $TAVIK_BENCH_DATA)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
before="" runs=5 ceiling=""
while [ $# -gt 0 ]; do
  case $1 in
    --before) before=$(readlink -f "$2"); shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --ceiling) ceiling=--ceiling; shift ;;
    *) echo "usage: $0 [--before OLD-TAVIK-CLI] [--runs N] [--ceiling]" >&2; exit 2 ;;
  esac
done
cli="$build/tavik-cli"
for exe in "$cli" "$build/bench/bench_retrieval" "$build/gen_table"; do
  [ -x "$exe" ] || { echo "missing $exe: build first (scripts/build.sh)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The generated field data lives in this run's own folder, unless $TAVIK_BENCH_DATA names a
# folder to keep it in between runs.
data=${TAVIK_BENCH_DATA:-$work/fielddata}
"$build/bench/bench_retrieval" --dir "$data" --write-only $ceiling
"$build/gen_table" 2000 800 "$work/t2000.vtb" 30 1 >/dev/null
# A long CSV of 2,000 relevés for make-fielddata.
/usr/bin/python3 - "$work" <<'EOF'
import random, sys
random.seed(1)
covers = ['+', '1', '2', '3', '4', '5', 'r', '+2', '32']
with open(sys.argv[1] + '/long.csv', 'w', encoding='utf-8') as f:
    f.write('releve,i03,i08,taxon,layer,cover\n')
    for q in range(1, 2001):
        for k, s in enumerate(random.sample(range(800), 25)):
            site = f'地点{q % 100}' if k == 0 else ''
            f.write(f'R{q},{site},{q % 900 if k == 0 else ""},種{s},{random.choice(["T1", "S1", "H1"])},{random.choice(covers)}\n')
with open(sys.argv[1] + '/header.txt', 'w', encoding='utf-8') as f:
    f.write('title=合成\n')
EOF

# measure NAME COMMAND...: one line of medians; with --before the other build too.
measure() {
  local name=$1; shift
  /usr/bin/python3 -B "$root/bench/timed_process.py" "$runs" "$name" 34 "$cli" "$before" "$@"
}

cat_ratio() {  # BASE: cat of the pair against a whole retrieve of it
  local base=$1
  /usr/bin/python3 - "$root/bench" "$runs" "$cli" "$base" <<'EOF'
import statistics, sys
sys.dont_write_bytecode = True  # nothing written into the checkout
sys.path.insert(0, sys.argv[1])
from timed_process import once
runs, cli, base = int(sys.argv[2]), sys.argv[3], sys.argv[4]
wall = lambda argv: once(argv)[0]
cat, ret = [], []
for _ in range(runs):
    cat.append(wall(['/bin/cat', base + '.tki', base + '.tkd']))
    ret.append(wall([cli, 'retrieve', base + '.tki', '--dict', base + '.dic']))
c, r = statistics.median(cat) * 1000, statistics.median(ret) * 1000
print(f'{"  cat of the pair":<34} {c:7.1f} ms; whole retrieve / cat = {r / c:.1f} x')
EOF
}

echo "== retrieval, whole process (summary on stdout)"
for base in "$data/fd2000" "$data/fd100000" ${ceiling:+"$data/fd340000n15000"}; do
  measure "retrieve $(basename "$base")" @CLI retrieve "$base.tki" --dict "$base.dic"
  cat_ratio "$base"
done
echo "== every command on 2,000 relevés (targets: 50 ms each)"
measure "info" @CLI info "$work/t2000.vtb"
measure "sort species" @CLI sort species "$work/t2000.vtb" -o "$work/s.vtb"
measure "sort releves" @CLI sort releves "$work/t2000.vtb" -o "$work/r.vtb"
measure "retrieve, no dictionary" @CLI retrieve "$data/fd2000.tki"
measure "retrieve -o" @CLI retrieve "$data/fd2000.tki" --dict "$data/fd2000.dic" -o "$work/o.vtb"
measure "make-fielddata" @CLI make-fielddata "$work/long.csv" "$work/header.txt" -o "$work/m.tki"
measure "--help" @CLI --help
