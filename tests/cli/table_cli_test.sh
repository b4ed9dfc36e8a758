#!/usr/bin/env bash
# tavik-cli info and sort, end to end, on the example table.
#   table_cli_test.sh TAVIK-CLI EXAMPLES-DIR
set -u
cli=$1
examples=$2
[ -f "$examples/example.vtb" ] || { echo "FAIL: missing test input $examples/example.vtb"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
. "$(dirname "$0")/check_lib.sh"

# ---- info -------------------------------------------------------------------------------
out=$("$cli" info "$examples/example.vtb")
expect_eq "info" "SpeciesCount: 135
ReleveCount: 60
FNRow: 31
MaxSpecies: 135
MaxReleve: 60
Separators: 0" "$out"

# ---- sorting twice gives the same bytes --------------------------------------------------
cp "$examples/example.vtb" "$work/t.vtb"
"$cli" sort species "$work/t.vtb" -o "$work/s1.vtb" || fail "sort species"
"$cli" sort species "$work/s1.vtb" -o "$work/s2.vtb" || fail "sort species again"
cmp -s "$work/s1.vtb" "$work/s2.vtb" || fail "a second species sort changed the file"
"$cli" sort releves "$work/s2.vtb" -o "$work/r1.vtb" || fail "sort releves"
"$cli" sort releves "$work/r1.vtb" -o "$work/r2.vtb" || fail "sort releves again"
cmp -s "$work/r1.vtb" "$work/r2.vtb" || fail "a second releve sort changed the file"
cmp -s "$work/t.vtb" "$examples/example.vtb" || fail "the input table was changed"
# Most frequent species first: the frequency column (fourth field) never rises.
freqs=$(iconv -f CP932 -t UTF-8 "$work/s1.vtb" | tail -n 135 | cut -d, -f4 | tr -d '" \r')
sorted=$(echo "$freqs" | sort -s -n -r)
expect_eq "descending frequencies" "$sorted" "$freqs"
"$cli" sort species "$work/t.vtb" -o "$work/a.vtb" --ascending || fail "ascending"
freqs=$(iconv -f CP932 -t UTF-8 "$work/a.vtb" | tail -n 135 | cut -d, -f4 | tr -d '" \r')
expect_eq "ascending frequencies" "$(echo "$freqs" | sort -s -n)" "$freqs"
# A partial range leaves the rows outside it in place.
"$cli" sort species "$work/t.vtb" -o "$work/p.vtb" --range 10-20 || fail "range"
# (the example was saved with spare columns; a loaded table has none, so compare 64 fields)
rows() { iconv -f CP932 -t UTF-8 "$1" | tr -d "\r" | tail -n 135 | head -n 9 | cut -d, -f1-64; }
expect_eq "rows before the range" "$(rows "$work/t.vtb")" "$(rows "$work/p.vtb")"
out=$("$cli" info "$work/r2.vtb" | head -n 2)
expect_eq "sorted table counts" "SpeciesCount: 135
ReleveCount: 60" "$out"

# ---- exit status ----------------------------------------------------------------------
expect_eq "help" 0 "$(status "$cli" --help)"
expect_eq "no command" 2 "$(status "$cli")"
expect_eq "unknown command" 2 "$(status "$cli" frobnicate)"
expect_eq "sort without -o" 2 "$(status "$cli" sort species "$work/t.vtb")"
expect_eq "sort of what" 2 "$(status "$cli" sort plants "$work/t.vtb" -o "$work/x.vtb")"
expect_eq "bad range" 2 "$(status "$cli" sort species "$work/t.vtb" -o "$work/x.vtb" --range 3)"
expect_eq "missing table" 1 "$(status "$cli" info "$work/none.vtb")"
printf 'title\r\nnot numbers\r\n' > "$work/bad.vtb"
expect_eq "damaged table" 1 "$(status "$cli" info "$work/bad.vtb")"
msg=$("$cli" info "$work/bad.vtb" 2>&1 >/dev/null)
case "$msg" in *bad.vtb*2*) ;; *) fail "message names file and line: $msg" ;; esac
[ ! -e "$work/x.vtb" ] || fail "a failed sort wrote its output"

if [ "$failures" -ne 0 ]; then echo "$failures failure(s)"; exit 1; fi
echo "all table CLI checks passed"
