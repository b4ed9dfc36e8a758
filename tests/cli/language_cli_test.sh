#!/usr/bin/env bash
# tavik-cli in Japanese and in English: the locale variables choose, as for any program with
# message catalogues; the outputs' headings follow, and its own files read back either way.
#   language_cli_test.sh TAVIK-CLI EXAMPLES-DIR TEST-DATA-DIR
set -u
cli=$1
examples=$2
data=$3
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0
. "$(dirname "$0")/check_lib.sh"

# Runs tavik-cli with only the given locale variables set.
in_locale() {
    local settings=()
    while [ "$1" != -- ]; do settings+=("$1"); shift; done
    shift
    env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG "${settings[@]}" "$cli" "$@"
}
japanese_help="言語: 日本語は LANGUAGE"
english_help="Language: Japanese when LANGUAGE"
speaks() {  # speaks NAME EXPECTED-LINE-START LOCALE-SETTINGS...
    local name=$1 expected=$2
    shift 2
    local out
    out=$(in_locale "$@" -- --help) || fail "$name: --help status"
    case "$out" in *"$expected"*) ;; *) fail "$name: --help in the wrong language: $(echo "$out" | tail -n 2)" ;; esac
    case "$out" in "usage:"*"tavik-cli info TABLE.vtb"*) ;; *) fail "$name: --help lost its usage lines" ;; esac
}

# ---- which language ---------------------------------------------------------------------
speaks "nothing set" "$japanese_help"
speaks "LANG=ja_JP.UTF-8" "$japanese_help" LANG=ja_JP.UTF-8
speaks "LANG=en_US.UTF-8" "$english_help" LANG=en_US.UTF-8
speaks "LANG=de_DE.UTF-8" "$english_help" LANG=de_DE.UTF-8
speaks "LANG=C.UTF-8" "$japanese_help" LANG=C.UTF-8
speaks "LC_ALL=C over LANG=en" "$japanese_help" LC_ALL=C LANG=en_US.UTF-8
speaks "LC_ALL=en over LANG=ja" "$english_help" LC_ALL=en_GB.UTF-8 LANG=ja_JP.UTF-8
speaks "LC_MESSAGES=ja over LANG=en" "$japanese_help" LC_MESSAGES=ja_JP.UTF-8 LANG=en_US.UTF-8
speaks "LANGUAGE=en with LANG=ja" "$english_help" LANGUAGE=en LANG=ja_JP.UTF-8
speaks "LANGUAGE=fr:ja with LANG=en" "$japanese_help" LANGUAGE=fr:ja LANG=en_US.UTF-8
speaks "LANGUAGE=en under LC_ALL=C" "$japanese_help" LANGUAGE=en LC_ALL=C
# Bad usage: the usage text in the language too, exit 2.
err=$(in_locale LANG=en_US.UTF-8 -- frobnicate 2>&1 >/dev/null)
expect_eq "unknown command status" 2 "$(in_locale LANG=en_US.UTF-8 -- frobnicate >/dev/null 2>&1; echo $?)"
case "$err" in *"$english_help"*) ;; *) fail "usage after an error in English: $err" ;; esac

# ---- messages ---------------------------------------------------------------------------
cp "$examples/example.vtb" "$work/t.vtb"
sed '79s/7/1/g' "$examples/example.vtb" > "$work/ra.vtb"
err=$(in_locale LANG=ja_JP.UTF-8 -- ra "$work/ra.vtb" --scores "$work/s-ja.csv" 2>&1 >/dev/null) || fail "ra ja"
case "$err" in 反復回数:\ [0-9]*) ;; *) fail "iterations in Japanese: $err" ;; esac
err=$(in_locale LANG=en_US.UTF-8 -- ra "$work/ra.vtb" --scores "$work/s-en.csv" 2>&1 >/dev/null) || fail "ra en"
case "$err" in Iterations:\ [0-9]*) ;; *) fail "iterations in English: $err" ;; esac
# A failure: one line, exit 1, in the language, naming the file.
err=$(in_locale LANG=en_US.UTF-8 -- sort species "$work/t.vtb" -o "$work/o.vtb" --ini "$work/none.ini" 2>&1)
expect_eq "missing settings in English" "tavik-cli: $work/none.ini is not there (settings file)" "$err"
err=$(in_locale LANG=ja_JP.UTF-8 -- sort species "$work/t.vtb" -o "$work/o.vtb" --ini "$work/none.ini" 2>&1)
expect_eq "missing settings in Japanese" "tavik-cli: $work/none.ini がありません（設定ファイル）" "$err"
expect_eq "missing settings status" 1 "$(in_locale LANG=en_US.UTF-8 -- sort species "$work/t.vtb" -o "$work/o.vtb" --ini "$work/none.ini" >/dev/null 2>&1; echo $?)"
# Refusing to replace a read-only file keeps the library's reason and adds the hint.
touch "$work/ro.csv" && chmod a-w "$work/ro.csv"
err=$(in_locale LANG=en_US.UTF-8 -- fidelity "$data/example_groups.vtb" --csv "$work/ro.csv" 2>&1)
case "$err" in *"(--force replaces it)") ;; *) fail "read-only hint in English: $err" ;; esac
# The library's own failures come in the language too, naming the file and the line.
printf 'Title\r\n1 1 2\r\n00000000000000\r\n' > "$work/cut.vtb"
err=$(in_locale LANG=en_US.UTF-8 -- info "$work/cut.vtb" 2>&1)
expect_eq "cut table in English" "tavik-cli: $work/cut.vtb, line 4: the file ends early (8 lines are needed)" "$err"
err=$(in_locale LANG=ja_JP.UTF-8 -- info "$work/cut.vtb" 2>&1)
expect_eq "cut table in Japanese" "tavik-cli: $work/cut.vtb の 4 行目: ファイルが途中で終わっています（8 行必要）" "$err"

# ---- headings the program writes ---------------------------------------------------------
expect_eq "score heading ja" "　植物名,スコア,,測定ＩＤ,スコア" "$(utf8 "$work/s-ja.csv" | sed -n 2p)"
expect_eq "score heading en" "Species,Score,,Releve ID,Score" "$(utf8 "$work/s-en.csv" | sed -n 2p)"
expect_eq "score caption is data" "Reciprocal Averaging Score" "$(utf8 "$work/s-en.csv" | head -n 1)"
in_locale LANG=en_US.UTF-8 -- fidelity "$data/example_groups.vtb" --csv "$work/f-en.csv" || fail "fidelity en"
expect_eq "fidelity heading en" \
    "Species,A occurrences/15,A φ×100,A p,B occurrences/15,B φ×100,B p,C occurrences/15,C φ×100,C p,D occurrences/15,D φ×100,D p,Group of highest φ,Diagnostic in groups" \
    "$(utf8 "$work/f-en.csv" | head -n 1)"
in_locale LANG=ja_JP.UTF-8 -- fidelity "$data/example_groups.vtb" --csv "$work/f-ja.csv" || fail "fidelity ja"
expect_eq "fidelity body the same in both" "$(tail -n +2 "$work/f-ja.csv" | md5sum)" "$(tail -n +2 "$work/f-en.csv" | md5sum)"
in_locale LANG=en_US.UTF-8 -- constancy "$data/example_groups.vtb" --fidelity --csv "$work/c-en.csv" || fail "constancy en"
in_locale LANG=ja_JP.UTF-8 -- constancy "$data/example_groups.vtb" --fidelity --csv "$work/c-ja.csv" || fail "constancy ja"
expect_eq "constancy caption en" "Vegetation unit,A,B,C,D,A φ×100,B φ×100,C φ×100,D φ×100,Diagnostic in groups" \
    "$(utf8 "$work/c-en.csv" | sed -n 2p)"
expect_eq "constancy rows en" "Releves,15,15,15,15,,,,," "$(utf8 "$work/c-en.csv" | sed -n 3p)"
expect_eq "constancy caption ja" "　群落区分,A,B,C,D,A φ×100,B φ×100,C φ×100,D φ×100,診断種の群" \
    "$(utf8 "$work/c-ja.csv" | sed -n 2p)"
expect_eq "constancy stays CP932 in English" "" "$(head -c 3 "$work/c-en.csv" | od -An -tx1 | grep 'ef bb bf')"
expect_eq "constancy species lines the same" "$(tail -n +5 "$work/c-ja.csv" | md5sum)" "$(tail -n +5 "$work/c-en.csv" | md5sum)"
# A membership list written under one language is read under the other.
in_locale LANG=en_US.UTF-8 -- groups "$data/example_groups.vtb" --list "$work/m.csv" || fail "groups --list en"
in_locale LANG=ja_JP.UTF-8 -- groups "$examples/example.vtb" --from "$work/m.csv" -o "$work/g.vtb" 2>/dev/null ||
    fail "groups --from ja of a list written in English"
{ printf '\x91\xaa\x92\xe8\x94\xd4\x8d\x86,\x8cQ\r\n'; tail -n +2 "$work/m.csv" | cut -d, -f2,3; } > "$work/m-ja.csv"
in_locale LANG=en_US.UTF-8 -- groups "$examples/example.vtb" --from "$work/m-ja.csv" -o "$work/g2.vtb" 2>/dev/null ||
    fail "groups --from en of a list with Japanese headings"
cmp -s "$work/g.vtb" "$work/g2.vtb" || fail "the two membership lists gave different tables"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
