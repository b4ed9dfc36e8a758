# What the command-line test scripts share: counting failures, comparing values, exit
# statuses and reading CP932 output. Sourced; the script sets failures=0 first.
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_eq() { [ "$2" == "$3" ] || fail "$1: expected [${2:0:300}], got [${3:0:300}]"; }
status() { "$@" >/dev/null 2>&1; echo $?; }
utf8() { iconv -f CP932 -t UTF-8 "$1" | tr -d '\r'; }
