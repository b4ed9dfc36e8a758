#!/usr/bin/env bash
# tavik-cli classify and groups, end to end, on the example table.
#   classify_cli_test.sh TAVIK-CLI EXAMPLES-DIR TEST-DATA-DIR
set -u
cli=$1
examples=$2
data=$3
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0
. "$(dirname "$0")/check_lib.sh"
# The number of groups of a saved table, as the constancy table counts them.
groups_of() { "$cli" groups "$1" --list "$work/count.csv" >/dev/null 2>&1 && utf8 "$work/count.csv" | tail -n +2 | cut -d, -f3 | sort -u | wc -l; }

cp "$examples/example.vtb" "$work/e.vtb"
cp "$work/e.vtb" "$work/e-copy.vtb"
releves=$("$cli" groups "$work/e.vtb" --list "$work/all.csv" && utf8 "$work/all.csv" | tail -n +2 | wc -l)

# ---- classify: the scan, the cut, the membership, the tree, the table ---------------------
"$cli" classify "$work/e.vtb" --scan 2-12 --groups 4 --membership "$work/m.csv" --newick "$work/t.nwk" \
    -o "$work/four.vtb" >"$work/scan.txt" 2>"$work/err.txt" || fail "classify: $(cat "$work/err.txt")"
cmp -s "$work/e.vtb" "$work/e-copy.vtb" || fail "classify changed its input"
expect_eq "scan heading and one line per K" 12 "$(wc -l <"$work/scan.txt")"
expect_eq "scan K column" "$(seq 2 12 | tr '\n' ' ')" "$(tail -n +2 "$work/scan.txt" | cut -f1 | tr '\n' ' ')"
expect_eq "scan counts are numbers" "" "$(tail -n +2 "$work/scan.txt" | cut -f2 | grep -v '^[0-9][0-9]*$')"
expect_eq "membership heading" "position,releve,group" "$(utf8 "$work/m.csv" | head -n 1)"
expect_eq "membership: every relevé" "$releves" "$(utf8 "$work/m.csv" | tail -n +2 | wc -l)"
expect_eq "membership: four groups" "1 2 3 4" "$(utf8 "$work/m.csv" | tail -n +2 | cut -d, -f3 | sort -u | tr '\n' ' ' | sed 's/ $//')"
expect_eq "newick: one tree" ";" "$(tail -c 2 "$work/t.nwk" | head -c 1)"
expect_eq "newick: every relevé" "$releves" "$(tr -cd ',' <"$work/t.nwk" | wc -c | awk '{ print $1 + 1 }')"
expect_eq "table in four groups" 4 "$(groups_of "$work/four.vtb")"
# The saved groups are those of the membership file, in the same order.
"$cli" groups "$work/four.vtb" --list "$work/four.csv" || fail "groups --list"
expect_eq "groups as classified" "$(utf8 "$work/m.csv" | tail -n +2 | cut -d, -f2,3)" \
    "$(utf8 "$work/four.csv" | tail -n +2 | cut -d, -f2,3)"
# The same again: the result does not depend on the run.
"$cli" classify "$work/e.vtb" --groups 4 -o "$work/again.vtb" 2>/dev/null || fail "classify again"
cmp -s "$work/four.vtb" "$work/again.vtb" || fail "a second run gave another table"
"$cli" classify "$work/e.vtb" --groups 4 --threads 1 -o "$work/one.vtb" 2>/dev/null || fail "classify one thread"
cmp -s "$work/four.vtb" "$work/one.vtb" || fail "one thread gave another table"

# --groups best takes the K of the most faithful species in the scan.
best=$(tail -n +2 "$work/scan.txt" | sort -t$'\t' -k2,2nr -k1,1n | head -n 1 | cut -f1)
"$cli" classify "$work/e.vtb" --groups best -o "$work/best.vtb" 2>"$work/err.txt" || fail "--groups best"
expect_eq "best K reported" "忠実な種が最も多い群の数: $best" "$(sed 's/（.*//' "$work/err.txt")"
expect_eq "best K in the table" "$best" "$(groups_of "$work/best.vtb")"

# Every distance and linkage runs.
for d in bray jaccard sorensen euclid chord; do
    for l in ward flexible average complete single; do
        "$cli" classify "$work/e.vtb" --distance $d --linkage $l --method 2 --sqrt --groups 3 \
            --membership "$work/dl.csv" --force 2>/dev/null || fail "classify --distance $d --linkage $l"
    done
done

# ---- groups: a membership file into the table and back ---------------------------------------
"$cli" groups "$data/example_groups.vtb" --list "$work/g.csv" || fail "groups --list"
"$cli" groups "$work/e.vtb" --from "$work/g.csv" -o "$work/from.vtb" || fail "groups --from"
"$cli" groups "$work/from.vtb" --list "$work/from.csv" || fail "groups --list of the result"
expect_eq "membership round trip" "$(utf8 "$work/g.csv" | tail -n +2 | cut -d, -f2,3 | sort)" \
    "$(utf8 "$work/from.csv" | tail -n +2 | cut -d, -f2,3 | sort)"
# R's write.csv(data.frame(releve = ..., group = cutree(h, k))), with its row names.
{
    echo '"","releve","group"'
    utf8 "$work/g.csv" | tail -n +2 | head -n 20 | awk -F, '{ printf "\"%d\",\"%s\",%s\n", NR, $2, $3 }'
} >"$work/r.csv"
"$cli" groups "$work/e.vtb" --from "$work/r.csv" -o "$work/r.vtb" 2>"$work/err.txt" || fail "groups --from R's csv"
expect_eq "relevés not listed" "群の割り当てのない測定 $((releves - 20)) 個を最後の群に置きました。" "$(cat "$work/err.txt")"

# ---- refusals: nothing written, status 1 or 2 ----------------------------------------------
expect_eq "K above the relevés" 1 "$(status "$cli" classify "$work/e.vtb" --groups 100000 -o "$work/no.vtb")"
[ -e "$work/no.vtb" ] && fail "a refused classify wrote its table"
{ echo "releve,group"; echo "NOSUCH,1"; echo "NOSUCH,2"; } >"$work/bad.csv"
msg=$("$cli" groups "$work/e.vtb" --from "$work/bad.csv" -o "$work/no.vtb" 2>&1)
expect_eq "unknown relevé: status" 1 "$(status "$cli" groups "$work/e.vtb" --from "$work/bad.csv" -o "$work/no.vtb")"
case "$msg" in *"表にない測定番号: NOSUCH"*) ;; *) fail "unknown relevé message: $msg" ;; esac
[ -e "$work/no.vtb" ] && fail "a refused groups wrote its table"
expect_eq "-o without K" 2 "$(status "$cli" classify "$work/e.vtb" -o "$work/no.vtb")"
expect_eq "bad distance" 2 "$(status "$cli" classify "$work/e.vtb" --distance manhattan)"
expect_eq "bad beta" 2 "$(status "$cli" classify "$work/e.vtb" --beta 0.5)"
expect_eq "groups without a mode" 2 "$(status "$cli" groups "$work/e.vtb")"
expect_eq "output over the input" 2 "$(status "$cli" groups "$work/e.vtb" --list "$work/e.vtb")"
cmp -s "$work/e.vtb" "$work/e-copy.vtb" || fail "a refusal changed the input"

[ "$failures" -eq 0 ] && echo "classify: all passed"
exit $((failures > 0))
