#!/usr/bin/env bash
# Starts the calculator under a window manager (openbox) on its own Xvfb display and checks
# where the window manager's frames stand: the main window centred by its outer size and
# 300 twips (20 px) above the middle, the companion window 100 twips above the middle.
#   scripts/placement-check.sh PROGRAM
# Exits 77 (skipped) when Xvfb, xdotool, xprop, xwininfo or openbox are missing.
set -uo pipefail
program=$(realpath "${1:?usage: placement-check.sh PROGRAM}")
for tool in Xvfb xdotool xprop xwininfo openbox; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
. "$(dirname "$0")/xvfb.sh"
work_start
xvfb_start "$work" 1280x800x24
export HOME="$work"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
"$program" 2>"$work/app.log" &
app=$!
failed=0

# frame WINDOW: prints "left top width height" of its outer frame (xwininfo's absolute corner:
# xdotool's counts the frame twice under some window managers)
frame() {
  local id=$1 x y width height l r t b
  x=$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left Y: *//p')
  width=$(xwininfo -id "$id" | sed -n 's/^ *Width: *//p')
  height=$(xwininfo -id "$id" | sed -n 's/^ *Height: *//p')
  read -r l r t b <<<"$(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
  echo "$((x - ${l:-0})) $((y - ${t:-0})) $((width + ${l:-0} + ${r:-0})) $((height + ${t:-0} + ${b:-0}))"
}

# check NAME WINDOW RAISE_TWIPS: the frame centred, RAISE_TWIPS above the middle (1 px slack
# for rounding twips to pixels)
check() {
  local name=$1 id=$2 raise=$3 left top width height
  read -r left top width height <<<"$(frame "$id")"
  local want_left=$(((1280 - width) / 2)) want_top=$(((800 * 15 - height * 15) / 2 / 15 - raise / 15))
  echo "$name: frame at $left,$top size ${width}x$height; expected $want_left,$want_top"
  if [ $((left - want_left)) -lt -1 ] || [ $((left - want_left)) -gt 1 ] ||
     [ $((top - want_top)) -lt -1 ] || [ $((top - want_top)) -gt 1 ]; then
    echo "FAIL: $name is not where its outer size puts it"
    failed=1
  fi
}

main=$(window_of '^ Numerette 9.19$') || { echo "FAIL: no main window"; exit 1; }
sleep 2.5 # the frame arrives, and the window is placed again by its outer size
check "main window" "$main" 300

xdotool windowactivate --sync "$main" 2>/dev/null
xdotool key --delay 80 alt+u Down Down Down Return # the first companion product
companion=$(window_of '^Numerette downloads$') || { echo "FAIL: no companion window"; exit 1; }
sleep 2.5
check "companion window" "$companion" 100

[ "$failed" = 0 ] && echo "PASS: both frames stand where their outer sizes put them"
exit "$failed"
