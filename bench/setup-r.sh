#!/usr/bin/env bash
# Installs R and vegan from Debian for the reciprocal-averaging comparison of
# bench/ra_vs_vegan.sh. A benchmark tool only: nothing of the build or the tests needs it.
set -euo pipefail
exec "$(dirname "$0")/../scripts/setup.sh" r-base-core r-cran-vegan
