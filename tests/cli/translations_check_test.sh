#!/usr/bin/env bash
# The translation check finds each kind of fault it is there for, in a copy of the sources.
#   translations_check_test.sh PYTHON SOURCE-ROOT
set -u
python=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
. "$(dirname "$0")/check_lib.sh"
check="$root/scripts/check_translations.py"

fresh() { rm -rf "$work/tree"; mkdir -p "$work/tree"; for d in cli ui print core formats output; do cp -r "$root/$d" "$work/tree/"; done; }
finds() {  # finds NAME EXPECTED-TEXT: the check fails on the tree and says so
    local out
    out=$("$python" "$check" "$work/tree" 2>&1) && fail "$1: the check passed"
    case "$out" in *"$2"*) ;; *) fail "$1: expected [$2] in [$out]" ;; esac
}

fresh
"$python" "$check" "$work/tree" >/dev/null || fail "the sources as they are: $("$python" "$check" "$work/tree")"

fresh
sed -i '0,/<translation>Iterations: %1<\/translation>/s//<translation type="unfinished">Iterations: %1<\/translation>/' \
    "$work/tree/ui/translations/tavik-cli_en.ts"
finds "unfinished" "反復回数: %1\": the translation is marked unfinished"

fresh
sed -i '0,/<translation>Iterations: %1<\/translation>/s//<translation><\/translation>/' "$work/tree/ui/translations/tavik-cli_en.ts"
finds "empty translation" "no English translation"

fresh
sed -i 's|<translation>Iterations: %1</translation>|<translation>Iterations</translation>|' "$work/tree/ui/translations/tavik-cli_en.ts"
finds "place marker lost" "does not keep the place markers"

fresh
sed -i 's|<translation>Iterations: %1</translation>|<translation type="vanished">Iterations: %1</translation>|' \
    "$work/tree/ui/translations/tavik-cli_en.ts"
finds "obsolete but used" "its translation is marked obsolete"

fresh
sed -i 's|Tr("反復回数: %1")|Tr("反復の回数: %1")|' "$work/tree/cli/cmd_analysis.cpp"
finds "a text no .ts has" "cli/cmd_analysis.cpp:"

fresh
printf '%s\n' 'static const char* kLost = "表を保存しました";' >> "$work/tree/ui/main.cpp"
finds "a Japanese literal outside tr" "ui/main.cpp:"
# ... unless it is marked as data, and comments are no texts.
fresh
printf '%s\n' 'static const char* kKey = "測定番号";  // data, not interface' '// "表を保存しました"' \
    '/* "表を保存しました" */' >> "$work/tree/ui/main.cpp"
"$python" "$check" "$work/tree" >/dev/null || fail "data and comments: $("$python" "$check" "$work/tree")"
# A note standing alone on the line above covers the statement below it, and only that.
fresh
printf '%s\n' '// data, not interface' 'static const char* kKeys[] = {"測定番号",' '    "調査地名"};' >> "$work/tree/ui/main.cpp"
"$python" "$check" "$work/tree" >/dev/null || fail "note above: $("$python" "$check" "$work/tree")"
printf '%s\n' 'static const char* kLost = "表を保存しました";' >> "$work/tree/ui/main.cpp"
finds "a note above covers one statement" "ui/main.cpp:"
# The library's texts are looked up in the library's table only: a text the desktop program
# translates is still missing there.
fresh
printf '%s\n' 'const char* k = Tr("中止");' >> "$work/tree/core/messages.cpp"
grep -q '<source>中止</source>' "$work/tree/ui/translations/tavik_en.ts" || fail "the desktop's table has no 中止"
finds "a library text only the desktop translates" "tavik-library_en.ts does not translate it"
# Literals joined across lines are one text.
fresh
printf '%s\n' 'static const char* kJoined = Tr("被度 0 の行 %1 件は"' '    "不在としてとばしました");' >> "$work/tree/cli/messages.cpp"
"$python" "$check" "$work/tree" >/dev/null || fail "joined literals: $("$python" "$check" "$work/tree")"

# A window or printer file with a Japanese text must be in the check's list, a header too.
fresh
printf '%s\n' 'const char* kCaption = "新しい窓";' > "$work/tree/ui/new_window.cpp"
finds "a window file not listed" "ui/new_window.cpp:1: \"新しい窓\": a file with Japanese texts that the check does not list"
fresh
printf '%s\n' '#pragma once' 'inline const char* kTitle = "印刷の窓";' > "$work/tree/print/print_window.h"
finds "a printer header not listed" "print/print_window.h:2:"
# Japanese in its comments alone does not make a file one to list.
fresh
printf '%s\n' '// The window the "新しい窓" command opens.' 'const char* kName = "newWindow";' > "$work/tree/ui/new_window.cpp"
"$python" "$check" "$work/tree" >/dev/null || fail "comments of an unlisted file: $("$python" "$check" "$work/tree")"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
