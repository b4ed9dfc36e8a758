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

# ---- data as other programs write them ------------------------------------------------------
import=$dune/../import
# R's write.csv(dune) on van der Maarel's ordinal scale gives the table of the dune pair.
printf 'title=Dune\n' > "$work/short.txt"
"$cli" make-fielddata --matrix "$import/dune_matrix.csv" "$work/short.txt" -o "$work/dm.tki" --scale ordinal \
    2>"$work/err" || fail "dune matrix: $(cat "$work/err")"
expect_eq "ordinal report" "被度（尺度 ordinal）: r 7, + 67, 1 30, 2 84, 3 5, 4 3, 5 1" "$(head -n 1 "$work/err")"
# covers of each species, relevé names left out: the same table either way
covers() { "$cli" retrieve "$1" --dict "$dune/dune.dic" -o "$work/c.vtb" 2>/dev/null &&
           "$cli" export matrix "$work/c.vtb" -o "$work/c.csv" --method 5 --rows species 2>/dev/null &&
           tail -n +2 "$work/c.csv" | sort; }
[ "$(covers "$work/dm.tki")" = "$(covers "$dune/dune.tki")" ] || fail "the dune matrix retrieves to another table than the dune pair"
[ -n "$(covers "$work/dm.tki")" ] || fail "the dune matrix retrieves to nothing"

# varespec, percent cover: every present value is written, at the boundaries of the manual.
"$cli" make-fielddata --matrix "$import/vare_pine_heath.csv" "$work/short.txt" -o "$work/vs.tki" --scale percent \
    2>"$work/err" || fail "varespec: $(cat "$work/err")"
present=$(tail -n +2 "$import/vare_pine_heath.csv" | tr ',' '\n' | grep -v '^"' | grep -cv '^0$')
written=$(head -n 1 "$work/err" | sed 's/^[^:]*: //' | tr ',' '\n' | awk '{ s += $NF } END { print s }')
expect_eq "varespec: values written" "$present" "$written"
"$cli" retrieve "$work/vs.tki" -o "$work/vs.vtb" 2>/dev/null
"$cli" export text "$work/vs.vtb" -o "$work/vs.txt" 2>/dev/null
row() { grep "^$1 " "$work/vs.txt" | awk '{ print $3 }'; }   # relevé 18, the first
expect_eq "18 Callvulg 0.55" "+" "$(row Callvulg)"
expect_eq "18 Pleuschr 4.67" "1" "$(row Pleuschr)"
expect_eq "18 Cladrang 21.73" "2" "$(row Cladrang)"
expect_eq "18 Pinusylv 0.07" "r" "$(row Pinusylv)"
# Transposed, the same matrix gives the same pair.
/usr/bin/python3 -c 'import csv,sys; w=csv.writer(sys.stdout, lineterminator="\n"); w.writerows(zip(*csv.reader(open(sys.argv[1]))))' \
    "$import/vare_pine_heath.csv" > "$work/vt.csv"
"$cli" make-fielddata --matrix "$work/vt.csv" "$work/short.txt" -o "$work/vt.tki" --scale percent --transpose \
    2>/dev/null || fail "varespec transposed"
cmp -s "$work/vt.tkd" "$work/vs.tkd" && cmp -s "$work/vt.tki" "$work/vs.tki" || fail "transposed varespec differs"

# The worked example of the manual: first the list of what does not fit, then the options.
cp "$import"/meadow_* "$work/"
cd "$work"
err=$("$cli" make-fielddata --matrix meadow_matrix.csv meadow_header.txt --sites meadow_sites.csv \
    -o meadow.tki --scale percent 2>&1); rc=$?
expect_eq "meadow without options" 1 "$rc"
expect_eq "meadow problems" "tavik-cli: 4 件の問題があるため、何も書いていません:
tavik-cli: meadow_sites.csv の 2 行目: 測定 M1 の i08「139,9」が 4 バイトに収まりません
tavik-cli: meadow_sites.csv の 3 行目: 測定 M2 の i08「141,2」が 4 バイトに収まりません
tavik-cli: meadow_matrix.csv の 1 行目: 種名「Achillea millefolium subsp. millefolium」は 39 バイトで、28 バイトに収まりません
tavik-cli: meadow_matrix.csv の 1 行目: 種名「Centáurea jacea」に CP932 で書けない文字があります
tavik-cli: --round-sites で、4 バイトの項目（i08 … i29）の数値を収まる桁に丸められます（139.9 → 140）
tavik-cli: --shorten で、28 バイトを超える種名を略記（subsp. → ssp., var., f.）と切り詰めで縮められます
tavik-cli: --transliterate で、符号の付いた文字を元の文字にして書けます（á → a, ü → u, ß → ss）" "$err"
[ ! -e meadow.tki ] && [ ! -e meadow.tkd ] && [ ! -e meadow_names.csv ] || fail "a refused import wrote files"
err=$("$cli" make-fielddata --matrix meadow_matrix.csv meadow_header.txt --sites meadow_sites.csv \
    -o meadow.tki --scale percent --transliterate --shorten --round-sites 2>&1) || fail "meadow: $err"
expect_eq "meadow report" "被度（尺度 percent）: r 1, + 1, 1 3, 2 2, 3 2, 4 1, 5 1
種名 2 件を書き換えました（対応表: meadow_names.csv）:
  Achillea millefolium subsp. millefolium → Achillea millefolium ssp. mi
  Centáurea jacea → Centaurea jacea
地点の値 2 件を書き換えました:
  測定 M1 の i08: 139,9 → 140
  測定 M2 の i08: 141,2 → 141
測定 3 件を書きました: meadow.tki" "$err"
expect_eq "name map" "input,written
Achillea millefolium subsp. millefolium,Achillea millefolium ssp. mi
Centáurea jacea,Centaurea jacea" "$(sed '1s/^\xEF\xBB\xBF//' meadow_names.csv | tr -d '\r')"
"$cli" retrieve meadow.tki -o meadow.vtb 2>/dev/null || fail "meadow retrieve"
"$cli" export text meadow.vtb -o meadow.txt 2>/dev/null || fail "meadow text"
expect_eq "meadow table" "Achillea millefolium ssp. mi H1:   1    .    r 
Centaurea jacea              H1:   +    1    . 
Festuca rubra                H1:   3    4    5 
Trifolium repens             H1:   2    .    3 
Plantago lanceolata          H1:   .    2    1 " "$(iconv -f CP932 -t UTF-8 meadow.txt | tr -d '\r' | grep ' H1:')"
expect_eq "meadow altitudes" "標高(m)                           140  141   98" \
    "$(iconv -f CP932 -t UTF-8 meadow.txt | tr -d '\r' | grep '^標高')"
cd - >/dev/null

# A long CSV from a European spreadsheet: semicolons, CP932, a quoted name with the separator.
printf 'releve;taxon;layer;cover\r\nR1;"\x83\x75\x83\x69; s.l.";T1;2b\r\nR1;Sasa;S1;2m\r\nR2;Sasa;S1;+\r\n' > "$work/semi.csv"
"$cli" make-fielddata "$work/semi.csv" "$work/h.txt" -o "$work/semi.tki" --scale bb-extended 2>/dev/null ||
    fail "semicolons and CP932"
out=$("$cli" retrieve "$work/semi.tki" 2>/dev/null)
expect_eq "semicolons: species" 2 "$(echo "$out" | field SpeciesCount)"
expect_eq "semicolons: relevés" 2 "$(echo "$out" | field ReleveCount)"
# Zero covers are absences; bad values are all listed, each with its line.
printf 'releve,taxon,layer,cover\nR1,A,H1,0\nR1,B,H1,12\nR2,A,H1,x\nR2,B,H1,150\n' > "$work/pc.csv"
err=$("$cli" make-fielddata "$work/pc.csv" "$work/h.txt" -o "$work/pc.tki" --scale percent 2>&1); rc=$?
expect_eq "percent problems exit" 1 "$rc"
expect_eq "percent problems" 2 "$(echo "$err" | grep -c 'は被度（尺度 percent）ではありません')"
[[ "$err" == *"pc.csv の 4 行目: 「x」"* && "$err" == *"pc.csv の 5 行目: 「150」"* ]] || fail "percent problems: $err"
[ ! -e "$work/pc.tki" ] || fail "a refused import wrote the index"

# Usage
"$cli" make-fielddata "$work/pc.csv" "$work/h.txt" -o "$work/u.tki" --scale braun >/dev/null 2>&1
expect_eq "unknown scale" 2 "$?"
"$cli" make-fielddata "$work/pc.csv" "$work/h.txt" -o "$work/u.tki" --layer S1 >/dev/null 2>&1
expect_eq "--layer without --matrix" 2 "$?"
"$cli" make-fielddata "$work/pc.csv" "$work/h.txt" -o "$work/u.tki" --r-below 0.5 >/dev/null 2>&1
expect_eq "--r-below without percent" 2 "$?"
"$cli" make-fielddata --matrix "$import/dune_matrix.csv" "$work/h.txt" -o "$work/u.tki" --layer Q >/dev/null 2>&1
expect_eq "a layer that is none" 2 "$?"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "all passed"
