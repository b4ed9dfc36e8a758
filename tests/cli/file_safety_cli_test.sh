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


# ---- an output that is an input, or another output, is refused before anything is written ----
cp "$examples/example.vtb" "$work/T.vtb"
table_sum=$(md5sum < "$work/T.vtb")
same() { # expect exit 2 with the message, and T.vtb as it was
    local want=$1; shift
    usage "$want" "$@"
    expect_eq "T.vtb kept by: $*" "$table_sum" "$(md5sum < "$work/T.vtb")"
}
same "is also the input TABLE.vtb" constancy "$work/T.vtb" --csv "$work/T.vtb"
same "is also the input TABLE.vtb" constancy "$work/T.vtb" --text "$work/T.vtb"
same "is also the input TABLE.vtb" fidelity "$work/T.vtb" --csv "$work/T.vtb"
same "is also the input TABLE.vtb" export text "$work/T.vtb" -o "$work/T.vtb"
same "is also the input TABLE.vtb" export xlsx "$work/T.vtb" -o "$work/T.vtb"
same "is also the input TABLE.vtb" print "$work/T.vtb" --text "$work/T.vtb"
same "is also the input TABLE.vtb" print "$work/T.vtb" --pdf "$work/T.vtb"
same "is also the input TABLE.vtb" ra "$work/T.vtb" --scores "$work/T.vtb"
# Other spellings and links of the same file.
ln "$work/T.vtb" "$work/hard.vtb"; ln -s T.vtb "$work/soft.vtb"
same "is also the input TABLE.vtb" export text "$work/T.vtb" -o "$work/hard.vtb"
same "is also the input TABLE.vtb" export text "$work/soft.vtb" -o "$work/./T.vtb"
same "is also the input TABLE.vtb" constancy "$work/T.vtb" --csv "$work/../$(basename "$work")/soft.vtb"
# The table's own settings file and the dictionary the settings name are inputs too.
printf '[Files]\r\nSynDict=%s\r\n' "$work/syn.dic" > "$work/T.ini"
printf 'ブナ,ブナ\r\n' | iconv -f UTF-8 -t CP932 > "$work/syn.dic"
ini_sum=$(md5sum < "$work/T.ini"); dic_sum=$(md5sum < "$work/syn.dic")
same "is also the input the table's settings file" export text "$work/T.vtb" -o "$work/T.ini"
same "is also the input the settings' dictionary" fidelity "$work/T.vtb" --csv "$work/syn.dic"
expect_eq "T.ini kept" "$ini_sum" "$(md5sum < "$work/T.ini")"
expect_eq "dictionary kept" "$dic_sum" "$(md5sum < "$work/syn.dic")"
rm -f "$work/T.ini" "$work/syn.dic" "$work/hard.vtb" "$work/soft.vtb"
# Two outputs of one command: the same name, or two names of one file not there yet.
usage "outputs --csv and --text are the same file" constancy "$work/T.vtb" --csv "$work/x.txt" --text "$work/x.txt"
usage "outputs --csv and --text are the same file" constancy "$work/T.vtb" --csv "$work/x.txt" --text "$work/./x.txt"
usage "outputs -o and --scores are the same file" ra "$work/T.vtb" -o "$work/x.vtb" --scores "$work/x.vtb"
usage "would be overwritten by its species list" export pcord "$work/T.vtb" -o "$work/x.lst"
ln -s q.tki "$work/q.tkd"
usage "outputs DATA.tki and DATA.tkd are the same file" make-fielddata "$work/example_long.csv" \
    "$work/example_header.txt" -o "$work/q.tki"
[ ! -e "$work/x.txt" ] && [ ! -e "$work/x.vtb" ] && [ ! -e "$work/x.lst" ] || fail "a refused command wrote a file"
rm -f "$work/q.tkd"
# A table saved in place of the one it came from stays allowed: sort, ra -o, retrieve --into.
expect_eq "sort in place" 0 "$(status "$cli" sort species "$work/T.vtb" -o "$work/T.vtb")"
expect_eq "retrieve --into in place" 0 "$(status "$cli" retrieve "$work/example.tki" --records 1-2 --into "$work/T.vtb" -o "$work/T.vtb")"
expect_eq "sorted and grown in place" "ReleveCount: 62" "$("$cli" info "$work/T.vtb" | grep ReleveCount)"

# ---- ranges: wholly outside the table is bad usage, overlapping is cut with a note -------------
usage "--releves 61-100: the table has relevés 1-60" export text "$work/t.vtb" -o "$work/r.txt" --releves 61-100
usage "--species 500-600: the table has species 1-135" export xlsx "$work/t.vtb" -o "$work/r.xlsx" --species 500-600
usage "--releves 61-61: the table has relevés 1-60" print "$work/t.vtb" --text "$work/r.txt" --releves 61-61
[ ! -e "$work/r.txt" ] && [ ! -e "$work/r.xlsx" ] || fail "a range outside the table wrote a file"
msg=$("$cli" export text "$work/t.vtb" -o "$work/r.txt" --releves 59-100 2>&1 >/dev/null); rc=$?
expect_eq "overlapping range" 0 "$rc"
expect_eq "overlapping range note" "tavik-cli: --releves 59-100: the table has relevés 1-60, so 59-60 is written" "$msg"
"$cli" export text "$work/t.vtb" -o "$work/r2.txt" --releves 59-60 2>/dev/null
cmp -s "$work/r.txt" "$work/r2.txt" || fail "the cut range differs from 59-60"
rm -f "$work/r.txt" "$work/r2.txt"

# ---- flags given twice -----------------------------------------------------------------------------
usage "--blank is given twice" constancy "$work/t.vtb" --csv "$work/c.csv" --blank --blank
usage "--dominance is given twice" ra "$work/t.vtb" --dominance --dominance
usage "--no-equalize is given twice" fidelity "$work/t.vtb" --csv "$work/c.csv" --no-equalize --no-equalize
usage "--force is given twice" constancy "$work/t.vtb" --csv "$work/c.csv" --force --force
usage "--force is given twice" ra "$work/t.vtb" -o "$work/c.vtb" --force --force
usage "--force is given twice" fidelity "$work/t.vtb" --csv "$work/c.csv" --force --force

# ---- a PDF that the disk did not take: exit 1 and the old file kept ----------------------------
pdf_printer="$(dirname "$cli")/tavik-pdf"
if [ -x "$pdf_printer" ]; then
    printf '%%PDF-1.4 old\n' > "$work/p.pdf"
    for nth in 1 3; do
        msg=$(faulty "write:$nth:ENOSPC:p.pdf" print "$work/t.vtb" --pdf "$work/p.pdf" 2>&1 >/dev/null); rc=$?
        expect_eq "PDF on a full disk ($nth) fails" 1 "$rc"
        case "$msg" in *p.pdf*に書き込めません*) ;; *) fail "PDF on a full disk ($nth) message: $msg" ;; esac
        expect_eq "PDF on a full disk ($nth) keeps the old file" "%PDF-1.4 old" "$(cat "$work/p.pdf")"
    done
    expect_eq "no temporary left by the PDF" "" "$(ls -A "$work" | grep tavik-)"
    "$cli" print "$work/t.vtb" --pdf "$work/p.pdf" || fail "PDF after the disk has room"
    expect_eq "PDF ends complete" "%%EOF" "$(tail -c 6 "$work/p.pdf" | tr -d '\n')"
    rm -f "$work/p.pdf"
    # The same on a small file system that is really full (as root, where tmpfs can be mounted).
    if [ "$(id -u)" = 0 ] && mkdir -p "$work/small" && mount -t tmpfs -o size=200k tmpfs "$work/small" 2>/dev/null; then
        printf '%%PDF-1.4 old\n' > "$work/small/p.pdf"
        dd if=/dev/zero of="$work/small/fill" bs=1k 2>/dev/null  # until the disk is full
        truncate -s -8K "$work/small/fill"                         # then 8 KB free
        rc=$(status "$cli" print "$work/t.vtb" --pdf "$work/small/p.pdf")
        expect_eq "PDF on a full tmpfs fails" 1 "$rc"
        expect_eq "PDF on a full tmpfs keeps the old file" "%PDF-1.4 old" "$(cat "$work/small/p.pdf")"
        umount "$work/small"
    else
        echo "skipped: the full tmpfs (needs root and mount)"
    fi
    rmdir "$work/small" 2>/dev/null
else
    echo "skipped: the PDF checks (no tavik-pdf beside tavik-cli)"
fi

# ---- a failed sync of the folder after the rename is a failure ----------------------------------
msg=$(faulty "fsync:2:EIO:$work" sort species "$work/t.vtb" -o "$work/synced.vtb" 2>&1 >/dev/null); rc=$?
expect_eq "folder sync error fails" 1 "$rc"
expect_eq "folder sync error message" "tavik-cli: $work/synced.vtb に書き込めません（入出力エラー）" "$msg"
rm -f "$work/synced.vtb"

# ---- output names as long as a folder holds ------------------------------------------------------
long=$(printf 'n%.0s' $(seq 1 251)).vtb
expect_eq "a 255-byte output name" 0 "$(status "$cli" sort species "$work/t.vtb" -o "$work/$long")"
[ -f "$work/$long" ] || fail "no file of a 255-byte name"
rm -f "$work/$long"

# ---- a companion settings file that cannot be read is a warning -----------------------------------
printf '[Table]\r\nTitle=a\0b\r\n' > "$work/t.ini"
expect_eq "a zero byte in the settings" "ReleveCount: 60" "$("$cli" info "$work/t.vtb" 2>/dev/null | grep ReleveCount)"
printf '\xff\xfe[\0T\0a\0b\0l\0e\0]\0' > "$work/t.ini"
msg=$("$cli" info "$work/t.vtb" 2>&1 >/dev/null); rc=$?
expect_eq "UTF-16 companion settings" 0 "$rc"
case "$msg" in *t.ini*UTF-16*使わずに読込みました*) ;; *) fail "UTF-16 companion message: $msg" ;; esac
rm -f "$work/t.ini"

# ---- control characters of names are not written raw to the terminal ---------------------------
msg=$(cd "$examples" && "$cli" retrieve example.tki --species ブナ --title $'😀\e[31m赤' -o "$work/e.vtb" 2>&1 >/dev/null)
case "$msg" in *$'\e'*) fail "a raw ESC on stderr" ;; esac
case "$msg" in *'😀\x1b[31m赤'*) ;; *) fail "escaped ESC: $msg" ;; esac
rm -f "$work/e.vtb"

# ---- a FIFO as --dict is not taken for a missing file -------------------------------------------
msg=$(timeout 10 "$cli" retrieve "$work/example.tki" --dict "$work/fifo" 2>&1 >/dev/null); rc=$?
expect_eq "FIFO --dict" 1 "$rc"
expect_eq "FIFO --dict message" "tavik-cli: $work/fifo は通常のファイルではありません" "$msg"

if [ "$failures" -ne 0 ]; then echo "$failures failure(s)"; exit 1; fi
echo "all file-safety CLI checks passed"
