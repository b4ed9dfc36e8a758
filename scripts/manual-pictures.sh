#!/usr/bin/env bash
# Remakes the pictures of both manuals at the window's default size: docs/manual/img/ in
# Japanese and docs/manual/en/img/ in English (each in the language the window speaks, so the
# English ones follow as the window's texts are translated).
#   scripts/manual-pictures.sh        (build directory: $TAVIK_BUILD_DIR or ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVIK_BUILD_DIR:-$root/build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja >/dev/null
fi
ninja -C "$build" -j2 test_manual_pictures >/dev/null
for lang in ja en; do
  if [ "$lang" = ja ]; then out=$root/docs/manual/img; else out=$root/docs/manual/en/img; fi
  mkdir -p "$out"
  rm -f "$out"/*.png
  run=(env TAVIK_SHOTS_DIR="$out" TAVIK_SHOTS_LANGUAGE=$lang LANGUAGE= LC_ALL= LC_MESSAGES= LANG=C.UTF-8)
  if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1 && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
    # A real X server paints the menus and the window as a desktop does.
    "${run[@]}" xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tests/ui/test_manual_pictures" >/dev/null
  else
    "${run[@]}" QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/tests/ui/test_manual_pictures" >/dev/null
  fi
done
ls -1 "$root/docs/manual/img" "$root/docs/manual/en/img"
