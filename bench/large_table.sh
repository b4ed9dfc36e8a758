#!/usr/bin/env bash
# Saving and loading the 100,000-relevé x 6,000-species synthetic table in each saved form:
# plain .vtb (the dense cover block, about 4.8 GB), .vtb.gz and .vtb.zst. For each: the time,
# the peak resident memory of the step, the file's size and the speed in MB/s of the plain
# form. The table is made once (tools' generator) and every step runs in a process of its
# own (bench_stream's steps). With --before OLD-BENCH-STREAM the same steps of another build
# run in turn, on the same table, in the same run. Big files are removed at the end.
#   bench/large_table.sh [--before OLD-BENCH-STREAM [--before-forms vtb,vtb.gz]] [--releves N] [--species N]
#   (build directory: $TAVIK_BUILD_DIR or ./build; files: $TMPDIR or /tmp)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
before="" before_forms=vtb,vtb.gz,vtb.zst releves=100000 species=6000
while [ $# -gt 0 ]; do
  case $1 in
    --before) before=$(readlink -f "$2"); shift 2 ;;
    --before-forms) before_forms=$2; shift 2 ;;  # a build without zstd: vtb,vtb.gz
    --releves) releves=$2; shift 2 ;;
    --species) species=$2; shift 2 ;;
    *) echo "usage: $0 [--before OLD-BENCH-STREAM [--before-forms LIST]] [--releves N] [--species N]" >&2; exit 2 ;;
  esac
done
new="$build/bench/bench_stream"
[ -x "$new" ] || { echo "missing $new: build first (scripts/build.sh)" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/tavik-large-XXXXXX")
trap 'rm -rf "$work"' EXIT

# The table, once: gzip, which every build reads.
"$new" --make "$releves" "$species" "$work/source.vtb.gz"
echo "table: $releves releves x $species species (source $(du -m "$work/source.vtb.gz" | cut -f1) MB as .vtb.gz)"
printf '%-8s %-6s %9s %9s %9s %9s %9s %9s\n' build form "save s" "save MB" "load s" "load MB" "file MB" "MB/s"

/usr/bin/python3 - "$root/bench" "$work" "$new" "$before" "$before_forms" <<'PY'
import os, subprocess, sys
sys.dont_write_bytecode = True  # nothing written into the checkout
sys.path.insert(0, sys.argv[1])
from timed_process import once
work, new, old, old_forms = sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5].split(',')
builds = [('new', new)] + ([('before', old)] if old else [])
plain_mb = None
for form in ['vtb', 'vtb.gz', 'vtb.zst']:
    for name, exe in builds:
        if name == 'before' and form not in old_forms:
            continue
        out = os.path.join(work, 't.' + form)
        # the save alone: the step prints its own time and peak after loading the source
        figures = subprocess.run([exe, '--resave', os.path.join(work, 'source.vtb.gz'), out],
                                 check=True, capture_output=True, text=True).stdout.split()
        save_s, save_mb = float(figures[0]), float(figures[1]) if len(figures) > 1 else float('nan')
        size_mb = os.path.getsize(out) / 2**20
        # an older build writes what it does not compress as plain text: say so
        with open(out, 'rb') as f:
            head = f.read(4)
        kind = 'zstd' if head == b'\x28\xb5\x2f\xfd' else 'gzip' if head[:2] == b'\x1f\x8b' else 'plain'
        if form == 'vtb' and plain_mb is None:
            plain_mb = size_mb
        load_s, _, load_mb = once([exe, '--load', out])
        dense = plain_mb or size_mb
        label = form + ('' if kind == {'vtb': 'plain', 'vtb.gz': 'gzip', 'vtb.zst': 'zstd'}[form] else f' ({kind})')
        print(f'{name:<8} {label:<6} {save_s:9.2f} {save_mb:9.0f} {load_s:9.2f} {load_mb:9.0f} {size_mb:9.1f} '
              f'{dense / save_s:5.0f}/{dense / load_s:.0f}', flush=True)
        os.remove(out)
print('MB/s: the plain form\'s megabytes per second of save / load')
PY
