#!/usr/bin/env bash
# tavik-cli make-fielddata and retrieve, end to end.
#   fielddata_cli_test.sh TAVIK-CLI EXAMPLES-DIR DUNE-DIR THIS-DIR
set -u
cli=$1
examples=$2
dune=$3
here=$4
for f in "$examples/example.tki" "$examples/example_long.csv" "$dune/dune.tki" "$dune/dune.dic"; do
    [ -f "$f" ] || { echo "FAIL: missing test input $f"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

. "$(dirname "$0")/check_lib.sh"
# expect_eq WHAT EXPECTED ACTUAL
field() { grep "^$1: " | sed "s/^$1: //"; }
# hits ARGS...: the hit count that retrieve reports on stderr
hits() { "$cli" retrieve "$work/dune.tki" --dict "$dune/dune.dic" "$@" 2>&1 >/dev/null | sed -n 's/^.*抽出数＝\([0-9]*\).*$/\1/p'; }

# ---- make-fielddata gives back the pairs byte for byte --------------------------------
"$cli" make-fielddata "$dune/dune_long.csv" "$here/dune_header.txt" \
    --sites "$dune/dune_releves.csv" -o "$work/dune.tki" 2>/dev/null || fail "make-fielddata dune"
cmp -s "$work/dune.tki" "$dune/dune.tki" || fail "dune.tki differs from the one in the checkout"
cmp -s "$work/dune.tkd" "$dune/dune.tkd" || fail "dune.tkd differs from the one in the checkout"
"$cli" make-fielddata "$examples/example_long.csv" "$examples/example_header.txt" \
    --sites "$examples/example_releves.csv" -o "$work/example.tki" 2>/dev/null || fail "make-fielddata example"
cmp -s "$work/example.tkd" "$examples/example.tkd" || fail "example.tkd differs from the one in the checkout"

# ---- retrieve: the whole pair, summary on stdout ------------------------------------------
out=$("$cli" retrieve "$dune/dune.tki" --dict "$dune/dune.dic" 2>/dev/null)
expect_eq "dune species" 30 "$(echo "$out" | field SpeciesCount)"
expect_eq "dune relevés" 20 "$(echo "$out" | field ReleveCount)"
expect_eq "dune FNRow" 18 "$(echo "$out" | field FNRow)"
# Without the dictionary the abbreviations and old names stay apart.
out=$("$cli" retrieve "$dune/dune.tki" 2>/dev/null)
expect_eq "dune species without dictionary" 55 "$(echo "$out" | field SpeciesCount)"

# ---- conditions, classes, connectives, mesh prefix, range ------------------------------
expect_eq "all" 20 "$(hits)"
expect_eq "Bromus +" 5 "$(hits --species 'Bromus hordeaceus')"
expect_eq "Bromus 1" 3 "$(hits --species 'Bromus hordeaceus:1')"
expect_eq "Bromus none" 15 "$(hits --species 'Bromus hordeaceus:+:none')"
expect_eq "not Bromus and Trifolium" 11 \
    "$(hits --species 'Bromus hordeaceus:+:none' --species 'Trifolium repens:+:and')"
expect_eq "Poa 2 or Bromus" 10 "$(hits --species 'Poa pratensis:2' --species 'Bromus hordeaceus:+:or')"
expect_eq "Poa 2" 9 "$(hits --species 'Poa pratensis:2')"
# An empty name is a mistake on the command line (the window's empty field ends the list).
"$cli" retrieve "$work/dune.tki" --species 'Poa pratensis:2' --species '' >/dev/null 2>&1
expect_eq "empty species name" 2 "$?"
"$cli" retrieve "$work/dune.tki" --species ':+:none' >/dev/null 2>&1
expect_eq "empty species name with a class" 2 "$?"
expect_eq "old names are not mapped when entered" 0 "$(hits --species 'Bromus mollis')"
expect_eq "mesh 8005029" 10 "$(hits --mesh 8005029)"
expect_eq "mesh 80050297" 3 "$(hits --mesh 80050297)"
expect_eq "mesh inside the code" 0 "$(hits --mesh 0050)"
expect_eq "records 3-7" 5 "$(hits --records 3-7)"
expect_eq "records 3-7, Bromus" 3 "$(hits --records 3-7 --species 'Bromus hordeaceus')"

# ---- saving, the title, into an existing table -----------------------------------------
"$cli" retrieve "$work/dune.tki" --dict "$dune/dune.dic" --records 1-10 -o "$work/a.vtb" \
    --title "First ten" 2>/dev/null || fail "retrieve -o"
expect_eq "title line" "First ten" "$(head -n 1 "$work/a.vtb" | tr -d '\r')"
expect_eq "saved relevés" 10 "$("$cli" info "$work/a.vtb" | field ReleveCount)"
"$cli" retrieve "$work/dune.tki" --dict "$dune/dune.dic" --into "$work/a.vtb" --records 11-20 \
    -o "$work/b.vtb" 2>/dev/null || fail "retrieve --into"
expect_eq "into: relevés" 20 "$("$cli" info "$work/b.vtb" | field ReleveCount)"
expect_eq "into: species" 30 "$("$cli" info "$work/b.vtb" | field SpeciesCount)"
# Choosing the pair takes the title of its header record, which the prompt then proposes.
expect_eq "into: the pair's title" "Dune meadows" "$(head -n 1 "$work/b.vtb" | tr -d '\r')"
"$cli" retrieve "$work/dune.tki" -o "$work/c.vtb" 2>/dev/null
expect_eq "proposed title" "Dune meadows" "$(head -n 1 "$work/c.vtb" | tr -d '\r')"

# ---- bad input ------------------------------------------------------------------------------
err=$("$cli" retrieve "$work/none.tki" 2>&1 >/dev/null); rc=$?
expect_eq "missing pair exit" 1 "$rc"
[[ "$err" == *正しいファイルが指定されていません* ]] || fail "missing pair message: $err"
cp "$work/dune.tki" "$work/cut.tki"
head -c 12000 "$work/dune.tkd" > "$work/cut.tkd"   # records 23 and 24 are cut off
err=$("$cli" retrieve "$work/cut.tki" 2>&1 >/dev/null); rc=$?
expect_eq "cut pair exit" 0 "$rc"
[[ "$err" == *"読み取れない測定 2 件をとばしました: 19, 20"* ]] || fail "cut pair report: $err"
cp "$work/dune.tki" "$work/loop.tki"
cp "$work/dune.tkd" "$work/loop.tkd"
printf '     1' | dd of="$work/loop.tkd" bs=1 seek=$((512 + 504)) conv=notrunc status=none
err=$(timeout 20 "$cli" retrieve "$work/loop.tki" 2>&1 >/dev/null); rc=$?
expect_eq "looping chain exit" 0 "$rc"
[[ "$err" == *"読み取れない測定 1 件をとばしました: 1"* ]] || fail "looping chain report: $err"
"$cli" retrieve "$work/dune.tki" --bogus >/dev/null 2>&1; expect_eq "unknown option" 2 "$?"
"$cli" retrieve "$work/dune.tki" --species a --species b --species c --species d --species e \
    --species f >/dev/null 2>&1; expect_eq "six conditions" 2 "$?"
"$cli" retrieve "$work/dune.tki" --species 'a:x:or' >/dev/null 2>&1; expect_eq "connective without class" 2 "$?"
"$cli" retrieve "$work/dune.tki" --dict "$work/none.dic" >/dev/null 2>&1; expect_eq "missing dictionary" 1 "$?"
printf 'releve,taxon,layer,cover\nR1,A,T1,9\n' > "$work/bad.csv"
printf 'title=T\n' > "$work/h.txt"
err=$("$cli" make-fielddata "$work/bad.csv" "$work/h.txt" -o "$work/bad.tki" 2>&1); rc=$?
expect_eq "bad cover exit" 1 "$rc"
[[ "$err" == *"2 行目"* ]] || fail "bad cover message names the line: $err"
[ ! -e "$work/bad.tki" ] || fail "a failed make-fielddata left a file"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "all passed"
