#!/usr/bin/env bash
# Installs R and vegan from Debian for the reciprocal-averaging comparison of
# bench/ra_vs_vegan.sh. A benchmark tool only: nothing of the build or the tests needs it.
set -euo pipefail
pkgs=(r-base-core r-cran-vegan)
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
