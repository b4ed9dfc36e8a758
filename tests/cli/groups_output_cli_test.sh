#!/usr/bin/env bash
# The outputs of a table whose groups are separated by empty columns, as a co-author and a
# journal get them: counts over relevés, the spreadsheet, prints that fit the page, partial
# ranges, the synoptic table and the encodings.
#   groups_output_cli_test.sh TAVIK-CLI EXAMPLES-DIR TESTS-DATA-DIR TESTS-CLI-DIR
set -u
cli=$1
examples=$2
data=$3
here=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
. "$(dirname "$0")/check_lib.sh"
groups=$data/example_groups.vtb

# ---- relevés and separators -------------------------------------------------------------
expect_eq "info separators" "ReleveCount: 63
Separators: 3" "$("$cli" info "$groups" | grep -E '^(ReleveCount|Separators):')"

# ---- frequencies over relevés, in the print and the spreadsheet ---------------------------
"$cli" print "$groups" --text "$work/p.txt" --columns 100 --frequency || fail "print with frequency"
expect_eq "beech 30 of 60" "50" "$(utf8 "$work/p.txt" | grep '^ブナ' | awk '{print $NF}')"
"$cli" export xlsx "$groups" -o "$work/g.xlsx" --frequency || fail "export xlsx"
/usr/bin/python3 "$here/check_xlsx.py" "$work/g.xlsx" groups || fail "xlsx of the groups"

# ---- partial ranges ----------------------------------------------------------------------
"$cli" export text "$examples/example.vtb" -o "$work/r.txt" --releves 1-20 2> "$work/r.err" || fail "range"
# No empty line among the species (between the third and the fourth rule).
expect_eq "no empty species lines" 0 "$(utf8 "$work/r.txt" | awk '/^─/{n++} n==3 && $0==""{e++} END{print e+0}')"
grep -q -- '--once' "$work/r.err" || fail "the once-species are not mentioned: $(cat "$work/r.err")"
"$cli" export text "$examples/example.vtb" -o "$work/o.txt" --releves 1-20 --once 2> "$work/o.err" || fail "range --once"
[ -s "$work/o.err" ] && fail "a note although the list is there: $(cat "$work/o.err")"
# The once-species list names relevés of the range only.
utf8 "$work/o.txt" | sed -n '/^出現回数１回の種$/,$p' | grep '^No\.' | sed 's/^No\.\([0-9]*\),.*/\1/' |
  awk '$1 < 1 || $1 > 20 {bad++} END{exit bad > 0}' || fail "once-species outside the range"
# A range of a separator alone: no frequency column, and the command says why.
"$cli" export text "$groups" -o "$work/s.txt" --releves 16-16 --frequency 2> "$work/s.err" || fail "separator range"
grep -q '出現頻度の列はありません' "$work/s.err" || fail "no word on the missing frequency column"

# ---- prints that fit the page -------------------------------------------------------------
# Twenty relevés fill the one block of an A4 page at 7 points with the frequency column:
# every species line then starts with its name or layer label, and a wrapped line would
# show as covers without a label, or as a lone number.
"$cli" retrieve "$examples/example.tki" --records 1-20 -o "$work/ex20.vtb" >/dev/null 2>&1 || fail "retrieve 20"
"$cli" print "$work/ex20.vtb" --pdf "$work/f.pdf" --frequency --size 7 2>/dev/null || fail "full print"
pdftotext -layout "$work/f.pdf" "$work/f.txt" || fail "pdftotext"
expect_eq "one block" 1 "$(grep -c '^表の通し番号\|^表番号' "$work/f.txt")"
expect_eq "no wrapped species line" "" "$(grep -E '(^|\s)\.(\s|$)' "$work/f.txt" | grep -v ':' | head -3)"
expect_eq "no lone frequency" "" "$(grep -E '^\s*[0-9]{1,3}\s*$' "$work/f.txt" | head -3)"
grep -qE '^ﾌﾞﾅ +T1:.* [0-9]+ *$' "$work/f.txt" || fail "the frequency beside ﾌﾞﾅ: $(grep '^ﾌﾞﾅ' "$work/f.txt")"
"$cli" print "$work/ex20.vtb" --pdf "$work/s.pdf" --simple 2>/dev/null || fail "simple print"
pdftotext -layout "$work/s.pdf" "$work/s-pdf.txt" || fail "pdftotext simple"
expect_eq "no wrapped simple line" "" "$(grep -E '^\s*[･+0-9e]( |$)' "$work/s-pdf.txt" | head -3)"

# ---- the synoptic table --------------------------------------------------------------------
"$cli" constancy "$groups" --xlsx "$work/syn.xlsx" --csv "$work/syn.csv" --fidelity --order diagnostic \
  --encoding utf-8 || fail "constancy --fidelity"
/usr/bin/python3 "$here/check_xlsx.py" "$work/syn.xlsx" synoptic || fail "synoptic xlsx"
expect_eq "UTF-8 with a BOM" "efbbbf" "$(head -c 3 "$work/syn.csv" | od -An -tx1 | tr -d ' \n')"
expect_eq "CSV heading" "　群落区分,A,B,C,D,A φ×100,B φ×100,C φ×100,D φ×100,診断種の群" \
  "$(sed -n 2p "$work/syn.csv" | tr -d '\r')"
expect_eq "first species" "チシマザサ,Ⅴ 2-5,・,・,・,96,,,,A" "$(sed -n 5p "$work/syn.csv" | tr -d '\r')"
"$cli" constancy "$groups" --csv "$work/plain.csv" || fail "plain constancy"
[ "$(head -c 3 "$work/plain.csv" | od -An -tx1 | tr -d ' \n')" != "efbbbf" ] || fail "CP932 is not the default"
expect_eq "order without fidelity" 2 "$(status "$cli" constancy "$groups" --csv "$work/x.csv" --order diagnostic)"
expect_eq "bad encoding" 2 "$(status "$cli" export text "$groups" -o "$work/x.txt" --encoding latin1)"
"$cli" export text "$groups" -o "$work/u.txt" --encoding utf-8 2> "$work/u.err" || fail "text --encoding utf-8"
expect_eq "UTF-8 text" "efbbbf" "$(head -c 3 "$work/u.txt" | od -An -tx1 | tr -d ' \n')"
grep -q 'UTF-8 で書きました' "$work/u.err" && fail "a chosen UTF-8 reported as forced"

# ---- PCord pair ------------------------------------------------------------------------------
expect_eq "matrix named .lst" 2 "$(status "$cli" export pcord "$groups" -o "$work/m.lst")"
[ -e "$work/m.lst" ] && fail "something was written for m.lst"
"$cli" export pcord "$groups" -o "$work/m.csv" || fail "pcord"
cp "$work/m.csv" "$work/m.old"
chmod a-w "$work/m.lst"
expect_eq "read-only list" 1 "$(status "$cli" export pcord "$examples/example.vtb" -o "$work/m.csv")"
cmp -s "$work/m.csv" "$work/m.old" || fail "a new matrix beside the old list"
"$cli" export pcord "$examples/example.vtb" -o "$work/m.csv" --force || fail "pcord --force"
expect_eq "pair replaced" "60,Releve" "$(head -1 "$work/m.csv" | cut -d, -f1-2)"
expect_eq "list replaced" 135 "$(wc -l < "$work/m.lst" | tr -d ' ')"
expect_eq "no temporaries left" "" "$(ls -A "$work" | grep '^\.')"

[ "$failures" -eq 0 ] && echo "all tests of the grouped outputs passed"
exit "$failures"
