#!/usr/bin/env bash
# The .deb of this build: made into a temporary folder, unpacked with dpkg-deb -x (never
# installed), and checked: its files and control data, the programs run from the unpacked
# tree (tavik-cli finding its PDF printer there, tavik starting), the desktop entry, the
# file types, the AppStream data, the manual pages and lintian.
#   package_test.sh SOURCE-FOLDER BUILD-FOLDER VERSION
set -u
src=$1 build=$2 version=$3
failures=0
source "$src/tests/cli/check_lib.sh"

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian man \
            update-mime-database gio pdftotext; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh installs it)"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

deb=$("$src/scripts/make-deb.sh" "$build" "$work/out") || { echo "FAIL: the package was not built"; exit 1; }
expect_eq "package name" "tavik_${version}_$(dpkg --print-architecture).deb" "$(basename "$deb")"
[ "$(ls -A "$work/out")" = "$(basename "$deb")" ] || fail "the package folder holds more: $(ls -A "$work/out")"

# ---- control data -------------------------------------------------------------------------
field() { dpkg-deb --field "$deb" "$1"; }
expect_eq "Package" tavik "$(field Package)"
expect_eq "Version" "$version" "$(field Version)"
expect_eq "Section" science "$(field Section)"
depends=$(field Depends)
# From the libraries (dpkg-shlibdeps), and what the libraries do not say.
for dep in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 libxlsxwriter zlib1g qt6-qpa-plugins \
           'fonts-ipafont-mincho | fonts-noto-cjk'; do
  [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done
[[ "$depends" =~ libqt6core6\ \(\>=\ [0-9] ]] || fail "Depends has no version of libqt6core6: $depends"
dpkg-deb --contents "$deb" | awk '$2 != "root/root" { print; bad = 1 } END { exit bad }' ||
  fail "files not owned by root"

# ---- the files ----------------------------------------------------------------------------
root=$work/root
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb -x"; exit 1; }
share=$root/usr/share
for f in usr/bin/tavik usr/bin/tavik-cli usr/lib/tavik/tavik-pdf; do
  [ -x "$root/$f" ] && [ -f "$root/$f" ] || fail "$f missing or not executable"
done
for f in doc/tavik/manual/index.html doc/tavik/manual/style.css doc/tavik/manual/en/index.html \
         doc/tavik/manual/img/tutorial_01_start.png doc/tavik/manual/en/img/tutorial_01_start.png \
         doc/tavik/copyright doc/tavik/changelog.gz \
         tavik/examples/example.vtb tavik/examples/example.ini tavik/examples/example.tki \
         tavik/examples/example.tkd tavik/examples/異名表.dic \
         applications/org.tavik.Tavik.desktop metainfo/org.tavik.Tavik.metainfo.xml \
         mime/packages/tavik.xml icons/hicolor/scalable/apps/org.tavik.Tavik.svg \
         man/man1/tavik.1.gz man/man1/tavik-cli.1.gz; do
  [ -f "$share/$f" ] || fail "usr/share/$f missing"
done
cmp -s "$share/tavik/examples/example.vtb" "$src/examples/example.vtb" || fail "the example table differs"
for size in 16 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x$size/apps/org.tavik.Tavik.png
  expect_eq "icon $size" "PNG image data, $size x $size" "$(file -b "$png" | cut -d, -f1-2)"
done
# Everything under /usr, nothing written beside the programs, nothing of the build.
expect_eq "top folders" usr "$(ls "$root")"
expect_eq "programs" "tavik tavik-cli" "$(ls "$root/usr/bin" | tr '\n' ' ' | sed 's/ $//')"
! grep -rqF "$build" "$root" || fail "the package names the build folder"
for f in "$root/usr/bin/tavik" "$root/usr/bin/tavik-cli" "$root/usr/lib/tavik/tavik-pdf"; do
  file -b "$f" | grep -q 'stripped' && ! file -b "$f" | grep -q 'not stripped' || fail "$f not stripped"
done

# ---- the programs, from the unpacked tree -------------------------------------------------
cli=$root/usr/bin/tavik-cli
"$cli" --help | grep -q '^usage:' || fail "tavik-cli --help"
expect_eq "--help status" 0 "$(status "$cli" --help)"
expect_eq "info of the installed example" "ReleveCount: 60" \
  "$("$cli" info "$share/tavik/examples/example.vtb" | grep '^ReleveCount')"
# print --pdf hands over to the tavik-pdf of ../lib/tavik/: there is none beside tavik-cli.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
  "$cli" print "$share/tavik/examples/example.vtb" --pdf "$work/example.pdf" --size 8 ||
  fail "print --pdf from the unpacked tree"
pdftotext "$work/example.pdf" "$work/example.txt" 2>/dev/null
grep -q 'ブナ' "$work/example.txt" || fail "the PDF lacks species names"
# Without its printer, the message names both places looked at.
mv "$root/usr/lib/tavik/tavik-pdf" "$work/tavik-pdf"
msg=$("$cli" print "$share/tavik/examples/example.vtb" --pdf "$work/none.pdf" 2>&1 >/dev/null)
[[ "$msg" == *"$root/usr/bin/tavik-pdf"*"$root/usr/bin/../lib/tavik/tavik-pdf"* ]] ||
  fail "message without the printer: $msg"
mv "$work/tavik-pdf" "$root/usr/lib/tavik/tavik-pdf"
# The window starts from the unpacked tree and writes nothing into it.
mkdir -p "$work/home"
touch "$work/before-start"
sleep 1
HOME=$work/home XDG_CONFIG_HOME=$work/home/config TAVIK_RECOVERY_DIR=$work/home/recovery \
  QT_QPA_PLATFORM=offscreen TAVIK_EXIT_AFTER_SHOW=1 "$root/usr/bin/tavik" >"$work/tavik.log" 2>&1 ||
  fail "tavik from the unpacked tree: $(cat "$work/tavik.log")"
grep -q 'window shown' "$work/tavik.log" || fail "tavik showed no window: $(cat "$work/tavik.log")"
expect_eq "nothing written into the tree" "" "$(find "$root" -newer "$work/before-start" | head -3)"

# ---- desktop entry, file types, AppStream, manual pages ------------------------------------
desktop=$share/applications/org.tavik.Tavik.desktop
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || echo "desktop-file-validate: $out"
expect_eq "Exec" "tavik %f" "$(sed -n 's/^Exec=//p' "$desktop")"
expect_eq "Name[ja]" TAVIK "$(sed -n 's/^Name\[ja\]=//p' "$desktop")"
grep -q '^Comment\[ja\]=.' "$desktop" || fail "no Japanese comment"
expect_eq "Categories" "Science;Biology;Education;" "$(sed -n 's/^Categories=//p' "$desktop")"
out=$(appstreamcli validate --no-net "$share/metainfo/org.tavik.Tavik.metainfo.xml" 2>&1) ||
  fail "appstreamcli validate: $out"
# The types of the program's files, by their names, as the desktop looks them up.
update-mime-database "$share/mime" >"$work/mime.log" 2>&1 || fail "update-mime-database: $(cat "$work/mime.log")"
grep -qi 'error\|warning' "$work/mime.log" && fail "update-mime-database: $(cat "$work/mime.log")"
examples=$share/tavik/examples
mkdir -p "$work/files"
cp "$examples/example.vtb" "$work/files/beech.vtb"
cp "$examples/example.vtb" "$work/files/OLD.VTB"
gzip -c "$examples/example.vtb" >"$work/files/beech.vtb.gz"
cp "$examples/example.tki" "$examples/異名表.dic" "$work/files/"
echo notes | gzip >"$work/files/notes.txt.gz"
typeOf() {
  XDG_DATA_HOME=$work/none XDG_DATA_DIRS=$share:/usr/share gio info -a standard::content-type "$work/files/$1" 2>/dev/null |
    sed -n 's/^ *standard::content-type: //p'
}
expect_eq ".vtb" application/x-tavik-table "$(typeOf beech.vtb)"
expect_eq ".VTB" application/x-tavik-table "$(typeOf OLD.VTB)"
expect_eq ".vtb.gz" application/x-tavik-compressed-table "$(typeOf beech.vtb.gz)"
if command -v zstd >/dev/null; then
  zstd -q -c "$examples/example.vtb" >"$work/files/beech.vtb.zst"
  expect_eq ".vtb.zst" application/x-tavik-zstd-table "$(typeOf beech.vtb.zst)"
fi
expect_eq ".tki" application/x-tavik-fielddata "$(typeOf example.tki)"
expect_eq ".dic" application/x-tavik-dictionary "$(typeOf 異名表.dic)"
expect_eq "other .gz" application/gzip "$(typeOf notes.txt.gz)"
for type in $(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' '); do
  grep -q "^$type:" "$share/mime/globs2" 2>/dev/null || grep -q ":$type:" "$share/mime/globs2" ||
    fail "the desktop entry opens $type, which is not defined"
done
for page in tavik tavik-cli; do
  text=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$share/man/man1/$page.1.gz" 2>"$work/man.err")
  [ ! -s "$work/man.err" ] || fail "man $page: $(cat "$work/man.err")"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' FILES ENVIRONMENT EXAMPLES; do
    grep -q "^$section\$" <<<"$text" || fail "man $page has no $section"
  done
done

# ---- lintian: no errors; warnings are listed in the log -------------------------------------
lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1
cat "$work/lintian.txt"
! grep -q '^E:' "$work/lintian.txt" || fail "lintian reports errors"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "package test passed"
