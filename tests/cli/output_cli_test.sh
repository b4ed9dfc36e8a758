#!/usr/bin/env bash
# tavik-cli export and print, end to end, on the example table.
#   output_cli_test.sh TAVIK-CLI EXAMPLES-DIR TESTS-CLI-DIR
set -u
cli=$1
examples=$2
here=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
. "$(dirname "$0")/check_lib.sh"
lines() { wc -l < "$1" | tr -d ' '; }

cp "$examples/example.vtb" "$examples/example.ini" "$work/"
table=$work/example.vtb

# ---- text -------------------------------------------------------------------------------
"$cli" export text "$table" -o "$work/t.txt" || fail "export text"
expect_eq "text starts with an empty line and the title" "本州中部・北部の森林" "$(utf8 "$work/t.txt" | sed -n 2p)"
# 60 relevés: 46 in the first block, 14 in the second, headed 続き after a form feed.
expect_eq "form feeds" 1 "$(grep -c $'^\f\r$' "$work/t.txt")"
expect_eq "continued" 1 "$(utf8 "$work/t.txt" | grep -c '^続き$')"
expect_eq "CR LF line ends" "$(lines "$work/t.txt")" "$(grep -c $'\r$' "$work/t.txt")"
utf8 "$work/t.txt" | grep -q '^調査地名' || fail "site names in the text"
"$cli" export text "$table" -o "$work/t2.txt" --items 2,8 --frequency --once --title タイトル || fail "export text with items"
utf8 "$work/t2.txt" | grep -q '^調査地名' && fail "--items 2,8 still writes item 3"
utf8 "$work/t2.txt" | grep -q '^測定番号' || fail "--items 2,8 lost item 2"
expect_eq "--title" "タイトル" "$(utf8 "$work/t2.txt" | sed -n 2p)"
utf8 "$work/t2.txt" | grep -q '^出現回数１回の種$' || fail "--once"
# The frequency column stands beside the table's last relevé only: in the second block.
# (14 relevé columns of five bytes, then the percentage)
[ "$(utf8 "$work/t2.txt" | sed -n '/^続き$/,$p' | grep -cE '^.{70} +[0-9]+$')" -gt 0 ] || fail "--frequency"
[ "$(utf8 "$work/t2.txt" | sed -n '1,/^続き$/p' | grep -cE '^.{262} +[0-9]+$')" -eq 0 ] || fail "frequency in the first block"

# ---- value matrix and PCord -------------------------------------------------------------
"$cli" export matrix "$table" -o "$work/t-vm.csv" --method 6 || fail "export matrix"
heading=$(head -1 "$work/t-vm.csv" | tr -d '\r')
expect_eq "matrix heading fields" 61 "$(echo "$heading" | awk -F, '{print NF}')"
expect_eq "matrix rows" 136 "$(lines "$work/t-vm.csv")"
expect_eq "matrix fields per line" 61 "$(tr -d '\r' < "$work/t-vm.csv" | awk -F, '{print NF}' | sort -u)"
expect_eq "presence values" "0
1" "$(tr -d '\r' < "$work/t-vm.csv" | tail -n +2 | cut -d, -f2- | tr ',' '\n' | sort -u)"
"$cli" export matrix "$table" -o "$work/r-vm.csv" --rows releves --species 1-10 --releves 5-8 || fail "matrix by relevés"
expect_eq "relevé rows" 5 "$(lines "$work/r-vm.csv")"
expect_eq "first relevé row" "A91-05" "$(sed -n 2p "$work/r-vm.csv" | cut -d, -f1)"

"$cli" export pcord "$table" -o "$work/t-pcm.csv" || fail "export pcord"
[ -f "$work/t-pcm.lst" ] || fail "the species list beside the PCord matrix"
expect_eq "species list lines" 135 "$(lines "$work/t-pcm.lst")"
expect_eq "PCord line 1" "60,Releve$(printf ',%.0s' $(seq 134))" "$(head -1 "$work/t-pcm.csv" | tr -d '\r')"
expect_eq "PCord line 3 fields" 136 "$(sed -n 3p "$work/t-pcm.csv" | tr -d '\r' | awk -F, '{print NF}')"
expect_eq "PCord data lines" 64 "$(lines "$work/t-pcm.csv")"

# ---- site exports -----------------------------------------------------------------------
"$cli" export plot "$table" -o "$work/t-plot.csv" || fail "export plot"
expect_eq "site data lines" 61 "$(lines "$work/t-plot.csv")"
expect_eq "site data fields" 29 "$(tr -d '\r' < "$work/t-plot.csv" | awk -F, '{print NF}' | sort -u)"
"$cli" export gps "$table" -o "$work/t.pot" || fail "export gps"
expect_eq "GPS first line" "DAT=WGS84/WGS84/0.000/0.00000000/0/0/0 ORD=POI/tex=A84-01/ido=038'32'37'8/kei=140'00'10'5/alt=+1160/col=12" \
  "$(head -1 "$work/t.pot" | tr -d '\r')"
expect_eq "GPS records" 60 "$(grep -c 'ORD=POI' "$work/t.pot")"
"$cli" export mesh "$table" -o "$work/t.grd" || fail "export mesh"
expect_eq "mesh first line" "57406050.11,A84-01" "$(head -1 "$work/t.grd" | tr -d '\r')"
expect_eq "mesh lines" 60 "$(grep -cE '^[0-9]+\.[0-9]{2},' "$work/t.grd")"

# ---- spreadsheet, read back by openpyxl -------------------------------------------------
"$cli" export xlsx "$table" -o "$work/t.xlsx" --frequency || fail "export xlsx"
/usr/bin/python3 "$here/check_xlsx.py" "$work/t.xlsx" full || fail "xlsx layout"
"$cli" export xlsx "$table" -o "$work/r.xlsx" --frequency --items 2,8 --species 1-10 --releves 5-8 || fail "xlsx range"
/usr/bin/python3 "$here/check_xlsx.py" "$work/r.xlsx" range || fail "xlsx range layout"

# ---- printing ---------------------------------------------------------------------------
# 20 five-byte columns, and the frequency column that the example's settings choose: 12
# relevés in the first block, 18 in each further one (12+18+18+12).
"$cli" print "$table" --text "$work/p.txt" --columns 20 || fail "print --text"
expect_eq "printed blocks" 3 "$(grep -c $'^\f\r$' "$work/p.txt")"
expect_eq "printed widths" 92 "$(sed -n 4p "$work/p.txt" | tr -d '\r\n' | wc -c)"
"$cli" print "$table" --text "$work/s.txt" --simple --columns 30 || fail "print --simple"
# 30 two-byte columns: 13 relevés beside the caption column, then 29, then 18.
expect_eq "simple blocks" 2 "$(grep -c $'^\f\r$' "$work/s.txt")"
expect_eq "simple widths" 58 "$(sed -n 4p "$work/s.txt" | tr -d '\r\n' | wc -c)"
utf8 "$work/s.txt" | grep -q '^ブナ' || fail "simple print species"
"$cli" print "$table" --pdf "$work/p.pdf" --size 8 || fail "print --pdf"
pdftotext "$work/p.pdf" "$work/p-pdf.txt" || fail "pdftotext"
grep -q '本州中部・北部の森林' "$work/p-pdf.txt" || fail "the PDF lacks the title"
grep -q 'ブナ' "$work/p-pdf.txt" && grep -q 'ミズナラ' "$work/p-pdf.txt" || fail "the PDF lacks species names"
"$cli" print "$table" --pdf "$work/s.pdf" --simple || fail "print --pdf --simple"
grep -q 'ブナ' <(pdftotext "$work/s.pdf" -) || fail "the simple PDF lacks species names"
# tavik-cli has no Qt of its own: without tavik-pdf beside it, print --pdf fails cleanly,
# and the text device still prints.
mkdir "$work/alone" && cp "$cli" "$work/alone/tavik-cli"
expect_eq "PDF printer missing" 1 "$(status "$work/alone/tavik-cli" print "$table" --pdf "$work/alone.pdf")"
[ ! -e "$work/alone.pdf" ] || fail "a PDF without the PDF printer"
"$work/alone/tavik-cli" print "$table" --text "$work/alone.txt" --columns 20 || fail "print --text alone"
cmp -s "$work/alone.txt" "$work/p.txt" || fail "print --text alone differs"

# ---- failures and usage -----------------------------------------------------------------
expect_eq "unknown kind" 2 "$(status "$cli" export svg "$table" -o "$work/x")"
expect_eq "no -o" 2 "$(status "$cli" export text "$table")"
expect_eq "bad method" 2 "$(status "$cli" export matrix "$table" -o "$work/x" --method 7)"
expect_eq "bad item" 2 "$(status "$cli" export text "$table" -o "$work/x" --items 2,31)"
expect_eq "print needs one target" 2 "$(status "$cli" print "$table")"
expect_eq "a flag twice" 2 "$(status "$cli" export text "$table" -o "$work/x" --once --once)"
expect_eq "--simple twice" 2 "$(status "$cli" print "$table" --text "$work/x" --simple --simple)"
expect_eq "unwritable folder" 1 "$(status "$cli" export text "$table" -o "$work/none/t.txt")"
msg=$("$cli" export text "$table" -o "$work/none/t.txt" 2>&1 >/dev/null)
expect_eq "one line on stderr" 1 "$(echo "$msg" | wc -l)"
# A page too narrow for the layout prints nothing and keeps the old file.
echo old > "$work/narrow.txt"
expect_eq "narrow page" 1 "$(status "$cli" print "$table" --text "$work/narrow.txt" --columns 7)"
expect_eq "old file kept" old "$(cat "$work/narrow.txt")"
# A read-only file is refused, and replaced with --force.
echo old > "$work/ro.txt"
chmod a-w "$work/ro.txt"
expect_eq "read-only refused" 1 "$(status "$cli" export mesh "$table" -o "$work/ro.txt")"
expect_eq "read-only kept" old "$(cat "$work/ro.txt")"
"$cli" export mesh "$table" -o "$work/ro.txt" --force || fail "--force"
expect_eq "read-only replaced" "57406050.11,A84-01" "$(head -1 "$work/ro.txt" | tr -d '\r')"
expect_eq "no temporaries left" "" "$(ls -A "$work" | grep '^\.')"
cmp -s "$table" "$examples/example.vtb" || fail "the input table was changed"

[ "$failures" -eq 0 ] && echo "all output command tests passed"
exit "$failures"
