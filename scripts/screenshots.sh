#!/usr/bin/env bash
# Pictures of the main window for a person to look at: the empty window, a retrieved table,
# each panel open (the output panel in each mode), hidden ranges, the data-check mode and the about box, and a user's road
# through the program with the real dialogs. Written as PNG to
# $TAVIK_SHOTS_DIR (default shots/main_window in the build folder); not part of the repository.
#   scripts/screenshots.sh            (build directory: $TAVIK_BUILD_DIR or ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
out=${TAVIK_SHOTS_DIR:-$build/shots/main_window}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja >/dev/null
fi
ninja -C "$build" -j2 main_window_shots test_user_road test_window_output >/dev/null
mkdir -p "$out"
export TAVIK_SHOTS_DIR=$out
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1 && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  # A real X server: the window gets a frame-independent, fully painted grab as on a desktop.
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tools/main_window_shots" >/dev/null
  # The user's road (road_*.png): whole-screen pictures with the real dialogs and menus.
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tests/ui/test_user_road" >/dev/null
  # The output panel in each of its modes (output_*.png), at the default window size.
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tests/ui/test_window_output" screenshots >/dev/null
else
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/tools/main_window_shots" >/dev/null
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/tests/ui/test_user_road" >/dev/null
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/tests/ui/test_window_output" screenshots >/dev/null
fi
# The Edit menu with its undo captions and the recovery question (undo_*.png, recovery_*.png).
ninja -C "$build" -j2 test_window_recovery >/dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/tests/ui/test_window_recovery" pictures >/dev/null
# The cell editor on a name and a header value, the cover dialog, the right-click buttons
# (edit_*.png).
ninja -C "$build" -j2 test_window_editing_inplace >/dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/tests/ui/test_window_editing_inplace" pictures >/dev/null
ls -1 "$out"/*.png
