#!/usr/bin/env bash
# tavik-cli ra and constancy, end to end, on the example table.
#   analysis_cli_test.sh TAVIK-CLI EXAMPLES-DIR
set -u
cli=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
. "$(dirname "$0")/check_lib.sh"

# ---- ra refuses a species whose cells all weigh 0 ----------------------------------------
# ギンリョウソウ is recorded only as "(" / "*" in the example.
cp "$examples/example.vtb" "$work/t.vtb"
msg=$("$cli" ra "$work/t.vtb" -o "$work/refused.vtb" --scores "$work/refused.csv" 2>&1 >/dev/null)
expect_eq "refusal status" 1 "$("$cli" ra "$work/t.vtb" >/dev/null 2>&1; echo $?)"
case "$msg" in *ギンリョウソウ*削除*) ;; *) fail "refusal names the species: $msg" ;; esac
[ "$(echo "$msg" | wc -l)" -eq 1 ] || fail "refusal on one line: $msg"
[ ! -e "$work/refused.vtb" ] && [ ! -e "$work/refused.csv" ] || fail "a refused run wrote files"

# The same table with that species recorded as "+" (its cover line is line 3 + 76).
sed '79s/7/1/g' "$examples/example.vtb" > "$work/ra.vtb"
cp "$work/ra.vtb" "$work/ra-copy.vtb"

# ---- ra: scores, reorder, iteration count --------------------------------------------------
err=$("$cli" ra "$work/ra.vtb" --scores "$work/s.csv" -o "$work/o.vtb" 2>&1 >/dev/null) || fail "ra"
case "$err" in 反復回数:\ [0-9]*) ;; *) fail "iteration count on stderr: $err" ;; esac
cmp -s "$work/ra.vtb" "$work/ra-copy.vtb" || fail "ra changed its input"
expect_eq "score caption" "Reciprocal Averaging Score" "$(utf8 "$work/s.csv" | head -n 1)"
expect_eq "score heading" "　植物名,スコア,,測定ＩＤ,スコア" "$(utf8 "$work/s.csv" | sed -n 2p)"
expect_eq "score rows" 137 "$(utf8 "$work/s.csv" | wc -l)"
# Below the 60 relevés only species remain: name, score and three empty fields.
case "$(utf8 "$work/s.csv" | sed -n 137p)" in *,[0-9]*.[0-9],,,) ;; *) fail "last score row: $(utf8 "$work/s.csv" | sed -n 137p)" ;; esac
# Every score has one decimal between 0.0 and 100.0.
bad=$(utf8 "$work/s.csv" | tail -n +3 | awk -F, '{ if ($2 !~ /^[0-9]+\.[0-9]$/ || $2 > 100) print }' | head -n 1)
expect_eq "species scores" "" "$bad"
# The reordered table lists its species by ascending score.
utf8 "$work/s.csv" | tail -n +3 | awk -F, '{ print $1 "," $2 }' > "$work/scores"
utf8 "$work/o.vtb" | tail -n 135 | awk -F, '{ print $3 }' > "$work/names"
order=$(awk -F, 'NR == FNR { s[$1] = $2; next } { print s[$0] }' "$work/scores" "$work/names")
expect_eq "species by ascending score" "$(echo "$order" | sort -s -n)" "$order"
# Relevés likewise: the relevé number row (row 2 of the grid) follows the relevé scores.
utf8 "$work/s.csv" | tail -n +3 | head -n 60 | awk -F, '{ print $5 }' | sort -n > "$work/rel-sorted"
utf8 "$work/s.csv" | tail -n +3 | head -n 60 | awk -F, '{ print $4 "," $5 }' > "$work/rel-scores"
nums=$(utf8 "$work/o.vtb" | sed -n "$((135 + 6))p" | cut -d, -f5-64 | tr ',' '\n')
relorder=$(echo "$nums" | awk -F, 'NR == FNR { s[$1] = $2; next } { print s[$0] }' "$work/rel-scores" -)
expect_eq "relevés by ascending score" "$(cat "$work/rel-sorted")" "$relorder"
expect_eq "counts kept" "SpeciesCount: 135
ReleveCount: 60" "$("$cli" info "$work/o.vtb" | head -n 2)"

# Without -o nothing is reordered or written; dominance gives other scores.
"$cli" ra "$work/ra.vtb" --dominance --scores "$work/d.csv" 2>/dev/null || fail "ra --dominance"
cmp -s "$work/s.csv" "$work/d.csv" && fail "dominance changed nothing"
cmp -s "$work/ra.vtb" "$work/ra-copy.vtb" || fail "ra without -o changed the table"

# ---- constancy -------------------------------------------------------------------------------
"$cli" constancy "$work/t.vtb" --csv "$work/c.csv" --text "$work/c.txt" || fail "constancy"
expect_eq "default title" "本州中部・北部の森林常在度表" "$(utf8 "$work/c.csv" | head -n 1)"
expect_eq "csv head" "　群落区分,A
　測定数,60
　平均種数,17.7
ブナ,Ⅲ r-5" "$(utf8 "$work/c.csv" | sed -n 2,5p)"
expect_eq "csv rows" 139 "$(utf8 "$work/c.csv" | wc -l)"
expect_eq "text head" "#T" "$(utf8 "$work/c.txt" | head -n 1)"
expect_eq "text date" 1 "$(utf8 "$work/c.txt" | sed -n 2p | grep -c '^[0-9]\{4\}/[0-9][0-9]/[0-9][0-9]$')"
expect_eq "text blocks" "1 1" "$(utf8 "$work/c.txt" | grep -c '^#S$') $(utf8 "$work/c.txt" | grep -c '^#E$')"
# Counts equal the frequencies of the table (fourth field of each species row).
"$cli" constancy "$work/t.vtb" --csv "$work/n.csv" --kind 4 --blank --title "数" || fail "constancy --kind 4"
expect_eq "title" "数" "$(utf8 "$work/n.csv" | head -n 1)"
counts=$(utf8 "$work/n.csv" | tail -n 135 | cut -d, -f2)
freqs=$(utf8 "$work/t.vtb" | tail -n 135 | cut -d, -f4 | tr -d '" ')
expect_eq "counts are frequencies" "$freqs" "$counts"
utf8 "$work/c.csv" | grep -q '・' || fail "absent species show ・"
utf8 "$work/n.csv" | grep -q '・' && fail "--blank leaves absent cells empty"

# ---- exit status ---------------------------------------------------------------------------
expect_eq "constancy without output" 2 "$(status "$cli" constancy "$work/t.vtb")"
expect_eq "bad kind" 2 "$(status "$cli" constancy "$work/t.vtb" --csv "$work/x.csv" --kind 5)"
expect_eq "ra unknown option" 2 "$(status "$cli" ra "$work/t.vtb" --fast)"
expect_eq "ra missing table" 1 "$(status "$cli" ra "$work/none.vtb")"
expect_eq "constancy into a missing folder" 1 "$(status "$cli" constancy "$work/t.vtb" --csv "$work/no/x.csv")"
[ ! -e "$work/x.csv" ] || fail "a bad usage wrote its output"
# A read-only output is replaced only with --force.
cp "$work/c.csv" "$work/ro.csv"
chmod a-w "$work/ro.csv"
if [ ! -w "$work/ro.csv" ]; then
  expect_eq "read-only output" 1 "$(status "$cli" constancy "$work/t.vtb" --csv "$work/ro.csv" --kind 4)"
  cmp -s "$work/c.csv" "$work/ro.csv" || fail "a refused write changed the read-only file"
  "$cli" constancy "$work/t.vtb" --csv "$work/ro.csv" --kind 4 --force || fail "--force"
  cmp -s "$work/c.csv" "$work/ro.csv" && fail "--force did not replace the file"
fi

[ "$failures" -eq 0 ] && echo "all analysis command checks passed"
exit $((failures > 0))
