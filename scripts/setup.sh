#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the screenshots need
# (qt6-l10n-tools compiles the translations and qt6-tools-dev gives CMake its rules for them;
# python3 turns tavik-cli's translation into a table; poppler-utils and python3-openpyxl read
# back the PDF and .xlsx outputs in tests; the packaging tools build the .deb and check what it
# installs).
# Safe to run again: apt-get is only called when something is missing. Packages named as
# arguments are installed too (bench/setup-r.sh uses this for tools of its own).
set -euo pipefail
pkgs=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-qpa-plugins libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libxlsxwriter-dev zlib1g-dev libzstd-dev zstd
  poppler-utils python3 python3-openpyxl
  qt6-l10n-tools qt6-tools-dev
  clang libclang-rt-14-dev clang-format clang-tidy
  fonts-ipafont-mincho fonts-ipafont-gothic fonts-noto-cjk fontconfig
  xvfb xauth xdg-utils
  dpkg-dev fakeroot file lintian desktop-file-utils appstream shared-mime-info librsvg2-bin man-db
  libglib2.0-bin
  "$@"
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
