#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the bundled example data.
# The program works in a copy of examples/ inside the build folder, so that what it writes
# (its settings at quit, tables you save) never changes the checkout; the copy is kept, so
# the next start finds the settings of the last session.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
TAVIK_SANITIZE=0 "$root/scripts/build.sh"

work="$build/example-work"
mkdir -p "$work"
if [ ! -e "$work/example.ini" ]; then
  cp "$root"/examples/* "$work"/
  # The open dialog starts in the working folder.
  sed -i "s|^Directory=.*\r\$|Directory=$work\r|" "$work/example.ini"
fi
cd "$work"
if [ -x "$build/ui/tavik" ]; then
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: starting under a virtual screen (xvfb-run)." >&2
    exec xvfb-run -a "$build/ui/tavik" example.ini
  fi
  exec "$build/ui/tavik" example.ini
fi
# Without the desktop program: sort the example table and show its summary.
"$build/tavik-cli" sort species example.vtb -o sorted.vtb
exec "$build/tavik-cli" info sorted.vtb
