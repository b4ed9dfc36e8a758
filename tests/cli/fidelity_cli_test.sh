#!/usr/bin/env bash
# tavik-cli fidelity, end to end, on the example table in four groups.
#   fidelity_cli_test.sh TAVIK-CLI EXAMPLES-DIR TEST-DATA-DIR
set -u
cli=$1
examples=$2
data=$3
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0
. "$(dirname "$0")/check_lib.sh"
# The fields of one species' line: name, 4 × (count, phi, p), best group, diagnostic groups.
line() { utf8 "$1" | awk -F, -v n="$2" '$1 == n'; }

cp "$data/example_groups.vtb" "$work/g.vtb"
cp "$work/g.vtb" "$work/g-copy.vtb"

# ---- defaults: equalized, 30, Fisher at 0.05 -------------------------------------------------
"$cli" fidelity "$work/g.vtb" --csv "$work/f.csv" || fail "fidelity"
cmp -s "$work/g.vtb" "$work/g-copy.vtb" || fail "fidelity changed its input"
expect_eq "heading" "植物名,A 出現数/15,A φ×100,A p,B 出現数/15,B φ×100,B p,C 出現数/15,C φ×100,C p,D 出現数/15,D φ×100,D p,φ最大の群,診断種の群" \
    "$(utf8 "$work/f.csv" | head -n 1)"
expect_eq "one line per species" 136 "$(utf8 "$work/f.csv" | wc -l)"
expect_eq "fields per line" "15" "$(utf8 "$work/f.csv" | awk -F, '{ print NF }' | sort -u | tr '\n' ' ' | sed 's/ $//')"
expect_eq "CR LF" "$(utf8 "$work/f.csv" | wc -l)" "$(grep -c $'\r$' "$work/f.csv")"
# Beech in all of A and B and nowhere else: phi = 1/sqrt(3) in both, diagnostic for both.
expect_eq "ブナ" "ブナ,15,57.7,2.92e-06,15,57.7,2.92e-06,0,-57.7,1,0,-57.7,1,A,A B" "$(line "$work/f.csv" ブナ)"
# Dwarf bamboo of the Japan Sea side in 14 of A only.
expect_eq "チシマザサ best group" "A" "$(line "$work/f.csv" チシマザサ | cut -d, -f14)"
expect_eq "スズタケ" "B" "$(line "$work/f.csv" スズタケ | cut -d, -f15)"
# Every count is an integer, every phi one decimal or blank, every p a number or blank.
bad=$(utf8 "$work/f.csv" | tail -n +2 | awk -F, '{
    for (g = 0; g < 4; ++g) {
        if ($(2 + 3 * g) !~ /^[0-9]+$/) print "count " $0
        if ($(3 + 3 * g) !~ /^(-?[0-9]+\.[0-9])?$/) print "phi " $0
        if ($(4 + 3 * g) !~ /^([0-9.e+-]+)?$/) print "p " $0
    } }' | head -n 1)
expect_eq "number forms" "" "$bad"
# Each species' diagnostic groups are groups of phi >= 30 and p < 0.05.
bad=$(utf8 "$work/f.csv" | tail -n +2 | awk -F, '{
    split("A B C D", L, " ")
    want = ""
    for (g = 0; g < 4; ++g) {
        phi = $(3 + 3 * g); p = $(4 + 3 * g)
        if (phi != "" && phi + 0 >= 30 && p != "" && p + 0 < 0.05) want = want (want == "" ? "" : " ") L[g + 1]
    }
    if (want != $15) print $0 }' | head -n 1)
expect_eq "diagnostic groups" "" "$bad"

# ---- options ---------------------------------------------------------------------------------
"$cli" fidelity "$work/g.vtb" --csv "$work/none.csv" --alpha none --threshold 60 || fail "--alpha none"
expect_eq "no p without the test" "" "$(utf8 "$work/none.csv" | tail -n +2 | cut -d, -f4,7,10,13 | tr -d ',' | sort -u)"
expect_eq "ブナ under 60" "ブナ,15,57.7,,15,57.7,,0,-57.7,,0,-57.7,,A," "$(line "$work/none.csv" ブナ)"
"$cli" fidelity "$work/g.vtb" --csv "$work/plain.csv" --no-equalize || fail "--no-equalize"
# Equal groups: equalizing changes nothing.
cmp -s "$work/f.csv" "$work/plain.csv" || fail "equal groups gave other values unequalized"

# ---- refusals and bad usage ----------------------------------------------------------------
msg=$("$cli" fidelity "$examples/example.vtb" --csv "$work/one.csv" 2>&1 >/dev/null)
expect_eq "one group: status" 1 "$("$cli" fidelity "$examples/example.vtb" --csv "$work/one.csv" >/dev/null 2>&1; echo $?)"
case "$msg" in *空白列*) ;; *) fail "one group: message says how to proceed: $msg" ;; esac
[ ! -e "$work/one.csv" ] || fail "a refused run wrote a file"
for args in "--alpha 0" "--alpha x" "--threshold 101" "--threshold" "--bogus" ""; do
    # shellcheck disable=SC2086
    st=$("$cli" fidelity "$work/g.vtb" --csv "$work/u.csv" $args >/dev/null 2>&1; echo $?)
    [ -z "$args" ] && continue
    expect_eq "usage: $args" 2 "$st"
done
expect_eq "no --csv" 2 "$("$cli" fidelity "$work/g.vtb" >/dev/null 2>&1; echo $?)"
# A read-only file is kept unless --force.
cp "$work/none.csv" "$work/ro.csv"
chmod a-w "$work/ro.csv"
expect_eq "read-only refused" 1 "$("$cli" fidelity "$work/g.vtb" --csv "$work/ro.csv" >/dev/null 2>&1; echo $?)"
cmp -s "$work/ro.csv" "$work/none.csv" || fail "a read-only file was changed"
"$cli" fidelity "$work/g.vtb" --csv "$work/ro.csv" --force || fail "--force"
cmp -s "$work/ro.csv" "$work/f.csv" || fail "--force did not replace the file"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "all fidelity command checks passed"
