#!/usr/bin/env bash
# Pictures of the window at 1x and 2x under Fusion's light palette and a dark one, history
# filled and the palette open, for comparing by eye:
#   scripts/theme-screenshots.sh BUILD_DIR OUTPUT_DIR
set -euo pipefail
build=${1:-build/default} out=${2:-.}
shots="$build/tests/platform/window_shots"
mkdir -p "$out"
for theme in light dark; do
  for scale in 1 2; do
    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale "$shots" "$out/window-$theme-${scale}x.png" "$theme" palette 2>/dev/null
  done
done
ls "$out"/window-*.png
