#!/usr/bin/env bash
# make-fielddata as a user runs it, whole processes: a long CSV of 50,000 lines (2,000
# relevés × 25 species) and a species × relevé matrix of 2,000 relevés × 800 species (25
# present per relevé, percent cover, as R's write.csv writes it), both ways round. Prints
# medians of wall-clock and CPU time and the peak resident memory; with --before OLD-CLI the
# same figures of another build side by side, measured in turn in the same run (an older
# build without --matrix is measured on the long CSV only).
#   bench/fielddata.sh [--before OLD-TAVIK-CLI] [--runs N]
#   (build directory: $TAVIK_BUILD_DIR or ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
before="" runs=11
while [ $# -gt 0 ]; do
  case $1 in
    --before) before=$(readlink -f "$2"); shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) echo "usage: $0 [--before OLD-TAVIK-CLI] [--runs N]" >&2; exit 2 ;;
  esac
done
cli="$build/tavik-cli"
[ -x "$cli" ] || { echo "missing $cli: build first (scripts/build.sh)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work" <<'PY'
import random, sys
random.seed(1)
d = sys.argv[1]
covers = ['+', '1', '2', '3', '4', '5', 'r', '+2', '32']
with open(d + '/long.csv', 'w', encoding='utf-8') as f:
    f.write('releve,i03,i08,taxon,layer,cover\n')
    for q in range(1, 2001):
        for k, s in enumerate(random.sample(range(800), 25)):
            site = f'地点{q % 100}' if k == 0 else ''
            f.write(f'R{q},{site},{q % 900 if k == 0 else ""},種{s},{random.choice(["T1", "S1", "H1"])},{random.choice(covers)}\n')
names = [f'Species{s:03d}' for s in range(800)]
rows = []
for q in range(1, 2001):
    row = ['0'] * 800
    for s in random.sample(range(800), 25):
        row[s] = f'{min(100, random.choice([0.05, 0.3, 1, 2.5, 7, 15, 30, 60, 85]) * random.uniform(0.8, 1.2)):.2f}'
    rows.append(row)
with open(d + '/matrix.csv', 'w', encoding='utf-8') as f:
    f.write('""' + ''.join(f',"{n}"' for n in names) + '\n')
    for q, row in enumerate(rows, 1):
        f.write(f'"R{q}",' + ','.join(row) + '\n')
with open(d + '/transposed.csv', 'w', encoding='utf-8') as f:
    f.write('""' + ''.join(f',"R{q}"' for q in range(1, 2001)) + '\n')
    for s, n in enumerate(names):
        f.write(f'"{n}",' + ','.join(r[s] for r in rows) + '\n')
with open(d + '/header.txt', 'w', encoding='utf-8') as f:
    f.write('title=合成\n')
PY
echo "inputs: long.csv $(wc -l < "$work/long.csv") lines, matrix.csv $(du -k "$work/matrix.csv" | cut -f1) kB"

# measure NAME OLD-TOO COMMAND...: one line of medians; with --before (and OLD-TOO = 1) the other build too.
measure() {
  local name=$1 old=$2; shift 2
  /usr/bin/python3 -B "$root/bench/timed_process.py" "$runs" "$name" 30 "$cli" "$([ "$old" = 1 ] && echo "$before")" "$@"
}

echo "== make-fielddata, whole process (target: 60 ms each)"
measure "long CSV, 50,000 lines" 1 @CLI make-fielddata "$work/long.csv" "$work/header.txt" -o "$work/l.tki"
measure "matrix 2,000 x 800" 0 @CLI make-fielddata --matrix "$work/matrix.csv" "$work/header.txt" -o "$work/m.tki" --scale percent
measure "matrix 800 x 2,000 transposed" 0 @CLI make-fielddata --matrix "$work/transposed.csv" "$work/header.txt" -o "$work/t.tki" --scale percent --transpose
measure "--help (start-up)" 1 @CLI --help
