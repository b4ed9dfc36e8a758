#!/usr/bin/env bash
# Builds the Debian package: tavik_VERSION_ARCH.deb, from a Release build in build/ (or
# $TAVIK_BUILD_DIR), into build/package/ or the folder given as the argument. The package's
# dependencies are computed from the programs' shared libraries (dpkg-shlibdeps).
#   scripts/package.sh [OUTPUT-FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
out=${1:-$build/package}
"$root/scripts/build.sh"
"$root/scripts/make-deb.sh" "$build" "$out"
