#!/usr/bin/env bash
# Packs what a build folder has built into a .deb, without building: CPack's DEB generator
# installs the build into a staging folder under OUTPUT-FOLDER and packs it there. Prints
# the path of the package. Used by package.sh and by the package test.
#   scripts/make-deb.sh BUILD-FOLDER OUTPUT-FOLDER
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD-FOLDER OUTPUT-FOLDER" >&2; exit 2; }
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
log="$out/cpack.log"
# The staging tree is made afresh and removed afterwards: only the package stays.
rm -rf "$out/_CPack_Packages"
if ! cpack --config "$build/CPackConfig.cmake" -B "$out" >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' "$log" | tail -1)
rm -rf "$out/_CPack_Packages" "$log"
[ -n "$deb" ] && [ -f "$deb" ] || { echo "make-deb: cpack named no package" >&2; exit 1; }
echo "$deb"
