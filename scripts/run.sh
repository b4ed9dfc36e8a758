#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the bundled example data.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
cd "$root/examples"
if [ -x "$build/ui/tavik" ]; then
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: starting under a virtual screen (xvfb-run)." >&2
    exec xvfb-run -a "$build/ui/tavik" example.vtb
  fi
  exec "$build/ui/tavik" example.vtb
fi
# Without the desktop program: sort the example table and show its summary.
"$build/tavik-cli" sort species example.vtb -o /tmp/tavik-example-sorted.vtb
exec "$build/tavik-cli" info /tmp/tavik-example-sorted.vtb
