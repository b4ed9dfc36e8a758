#!/usr/bin/env bash
# tavik-cli end to end where files go wrong: read-only targets, full disks, texts without a
# CP932 form.
#   file_safety_cli_test.sh TAVIK-CLI EXAMPLES-DIR FAULT-LIBRARY WORK-DIR
set -u
cli=$1
examples=$2
fault=$3
work=$(mktemp -d "$4/file-safety.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
. "$(dirname "$0")/check_lib.sh"
# Runs tavik-cli with an injected I/O error (see tests/support/fault_inject.cpp).
faulty() { local which=$1; shift; ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=$fault TAVIK_FAULT=$which "$cli" "$@"; }
only_files() { # the folder holds exactly these names
    local got; got=$(cd "$1" && ls -A | sort | tr '\n' ' '); shift
    expect_eq "files left" "$*" "${got% }"
}

cp "$examples/example.vtb" "$work/t.vtb"

# ---- a read-only target is refused unless --force --------------------------------------------
"$cli" sort species "$work/t.vtb" -o "$work/ro.vtb" || fail "first sort"
echo keep > "$work/ro.vtb"
chmod 0444 "$work/ro.vtb"
msg=$("$cli" sort species "$work/t.vtb" -o "$work/ro.vtb" 2>&1 >/dev/null); rc=$?
expect_eq "read-only refused" 1 "$rc"
case "$msg" in *ro.vtb*読み取り専用*--force*) ;; *) fail "read-only message: $msg" ;; esac
expect_eq "read-only file kept" keep "$(cat "$work/ro.vtb")"
"$cli" sort species "$work/t.vtb" -o "$work/ro.vtb" --force || fail "--force"
expect_eq "forced file replaced" "SpeciesCount: 135" "$("$cli" info "$work/ro.vtb" | head -n 1)"
expect_eq "forced file keeps its mode" 444 "$(stat -c %a "$work/ro.vtb")"
rm -f "$work/ro.vtb"

# ---- a full disk: the old file stays, nothing is left behind, the reason is given --------------
echo old > "$work/full.vtb"
msg=$(faulty write:1:ENOSPC:full.vtb sort species "$work/t.vtb" -o "$work/full.vtb" 2>&1 >/dev/null); rc=$?
expect_eq "full disk fails" 1 "$rc"
expect_eq "full disk message" "tavik-cli: $work/full.vtb に書き込めません（容量不足）" "$msg"
expect_eq "full disk keeps the old file" old "$(cat "$work/full.vtb")"
msg=$(faulty rename:1:EACCES:full.vtb sort species "$work/t.vtb" -o "$work/full.vtb" 2>&1 >/dev/null)
expect_eq "refused rename message" "tavik-cli: $work/full.vtb に書き込めません（許可がありません）" "$msg"
only_files "$work" "full.vtb t.vtb"
rm -f "$work/full.vtb"

# ---- texts without a CP932 form: written as UTF-8, and the user is told -------------------------
msg=$(cd "$examples" && "$cli" retrieve example.tki --species ブナ --title 'Ж表😀' -o "$work/u.vtb" 2>&1 >/dev/null)
case "$msg" in *u.vtb*UTF-8*Ж表😀*) ;; *) fail "UTF-8 notice: $msg" ;; esac
expect_eq "UTF-8 file has a BOM" "efbbbf" "$(head -c 3 "$work/u.vtb" | od -An -tx1 | tr -d ' ')"
msg=$(cd "$examples" && "$cli" retrieve example.tki --species ブナ --title 'ブナ林' -o "$work/c.vtb" 2>&1 >/dev/null)
case "$msg" in *UTF-8*) fail "no UTF-8 notice for a CP932 table: $msg" ;; esac

# ---- make-fielddata: a read error is a failure and writes nothing ------------------------------
cp "$examples/example_long.csv" "$examples/example_header.txt" "$examples/example_releves.csv" "$work/"
msg=$(faulty read:1:EIO:example_long.csv make-fielddata "$work/example_long.csv" "$work/example_header.txt" \
      --sites "$work/example_releves.csv" -o "$work/new.tki" 2>&1 >/dev/null); rc=$?
expect_eq "CSV read error fails" 1 "$rc"
expect_eq "CSV read error message" "tavik-cli: $work/example_long.csv を読み込めません（入出力エラー）" "$msg"
[ ! -e "$work/new.tki" ] && [ ! -e "$work/new.tkd" ] || fail "a failed make-fielddata wrote its pair"
# An output that is one of the inputs is refused before anything is written.
before=$(md5sum < "$work/example_long.csv")
expect_eq "-o the CSV" 2 "$(status "$cli" make-fielddata "$work/example_long.csv" "$work/example_header.txt" -o "$work/example_long.csv")"
expect_eq "CSV untouched" "$before" "$(md5sum < "$work/example_long.csv")"
cp "$examples/example.tki" "$examples/example.tkd" "$work/"
before=$(md5sum < "$work/example.tki")
expect_eq "retrieve -o its index" 2 "$(status "$cli" retrieve "$work/example.tki" -o "$work/example.tki")"
expect_eq "retrieve -o its data file" 2 "$(status "$cli" retrieve "$work/example.tki" -o "$work/example.tkd")"
expect_eq "index untouched" "$before" "$(md5sum < "$work/example.tki")"
# -o NAME.tkd writes NAME.tki and NAME.tkd.
"$cli" make-fielddata "$work/example_long.csv" "$work/example_header.txt" --sites "$work/example_releves.csv" \
    -o "$work/pair.tkd" 2>/dev/null || fail "make-fielddata -o pair.tkd"
cmp -s "$work/pair.tki" "$examples/example.tki" && cmp -s "$work/pair.tkd" "$examples/example.tkd" \
    || fail "-o pair.tkd did not write the pair"

# ---- inputs that are not files, or not there --------------------------------------------------
mkfifo "$work/fifo"
for args in "info $work/fifo" "sort species $work/fifo -o $work/o.vtb" "retrieve $work/fifo" \
            "retrieve $work/example.tki --ini $work/fifo" "retrieve $work/example.tki --into $work/fifo" \
            "make-fielddata $work/fifo $work/example_header.txt -o $work/o.tki" \
            "make-fielddata $work/example_long.csv $work/fifo -o $work/o.tki"; do
    msg=$(timeout 10 "$cli" $args 2>&1 >/dev/null); rc=$?
    expect_eq "FIFO: $args" 1 "$rc"
    case "$msg" in *fifo*通常のファイルではありません*) ;; *) fail "FIFO message ($args): $msg" ;; esac
done
msg=$("$cli" retrieve "$work/example.tki" --ini "$work/none.ini" 2>&1 >/dev/null); rc=$?
expect_eq "missing --ini" 1 "$rc"
expect_eq "missing --ini message" "tavik-cli: $work/none.ini がありません（設定ファイル）" "$msg"
: > "$work/empty.tki"; : > "$work/empty.tkd"
msg=$("$cli" retrieve "$work/empty.tki" 2>&1 >/dev/null); rc=$?
expect_eq "empty pair" 1 "$rc"
case "$msg" in *empty.tki*空のファイル*) ;; *) fail "empty pair message: $msg" ;; esac
cp "$examples/example.tki" "$work/UP.TKI"; cp "$examples/example.tkd" "$work/UP.TKD"
expect_eq "upper-case pair" "ReleveCount: 60" "$("$cli" retrieve "$work/UP.TKI" 2>/dev/null | grep ReleveCount)"

# ---- usage errors name the argument ------------------------------------------------------------
usage() { # expect exit 2 and the text in the first line of stderr
    local want=$1; shift
    local msg rc
    msg=$("$cli" "$@" 2>&1 >/dev/null | head -n 1); "$cli" "$@" >/dev/null 2>&1; rc=$?
    expect_eq "exit of: $*" 2 "$rc"
    case "$msg" in *"$want"*) ;; *) fail "message of ($*): $msg" ;; esac
}
usage "--range 5-3: FIRST is after LAST" sort species "$work/t.vtb" -o "$work/o.vtb" --range 5-3
usage "--range must be FIRST-LAST" sort species "$work/t.vtb" -o "$work/o.vtb" --range ''
usage "--records must be FIRST-LAST (from 1), not '0-0'" retrieve "$work/example.tki" --records 0-0
usage "--species ブナ:6: '6' is not a cover class" retrieve "$work/example.tki" --species ブナ:6
usage "--species ブナ:+:xor: 'xor' is not a connective" retrieve "$work/example.tki" --species ブナ:+:xor
usage "--species : the species name is empty" retrieve "$work/example.tki" --species ''
usage "--species :+: the species name is empty" retrieve "$work/example.tki" --species :+
usage "-o is given twice" sort species "$work/t.vtb" -o "$work/a.vtb" -o "$work/b.vtb"
usage "--ascending is given twice" sort species "$work/t.vtb" -o "$work/a.vtb" --ascending --ascending
usage "-o needs a value, not the option --ascending" sort species "$work/t.vtb" -o --ascending
[ ! -e "$work/o.vtb" ] && [ ! -e "$work/a.vtb" ] || fail "a usage error wrote a file"
# Several --species and --dict stay allowed.
expect_eq "two --species" 0 "$(status "$cli" retrieve "$work/example.tki" --species ブナ:3 --species チシマザサ:+:and)"

if [ "$failures" -ne 0 ]; then echo "$failures failure(s)"; exit 1; fi
echo "all file-safety CLI checks passed"
