#!/usr/bin/env bash
# Starts the real calculator on its own Xvfb display, types the sample expression with real
# key events, presses Enter, and reads the result box back through the Edit menu's Copy and
# the X clipboard. Exits 77 (skipped) when the X tools are missing.
set -uo pipefail
program=${1:?usage: first_calculation.sh PROGRAM [SCREENSHOT_DIR]}
shots=${2:-$PWD}

for tool in Xvfb xdotool xclip; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$work"

fail() {
  echo "FAIL: $*"
  command -v import >/dev/null && import -window root "$shots/first_calculation-failure.png" 2>/dev/null &&
    echo "screenshot: $shots/first_calculation-failure.png"
  exit 1
}

"$program" 2>"$work/app.log" &
app=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^ Numerette 9.19$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "expected the window ' Numerette 9.19' to appear within 10 s"
sleep 0.5

# The client area (585 x 382) lies under the menu bar: its top is the window height less 382.
eval "$(xdotool getwindowgeometry --shell "$window")"
client_x=$X
client_y=$((Y + HEIGHT - 382))
click() { xdotool mousemove $((client_x + $1)) $((client_y + $2)) click 1; sleep 0.2; }

click 290 270 # Text1: the first click ends the instruction state
xdotool type --delay 20 '238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3'
xdotool key Return
sleep 0.3
click 300 364 # Text2
xdotool key ctrl+a ctrl+c
sleep 0.3
result=$(xclip -o -selection clipboard 2>/dev/null)
[ "$result" = "= 595.09" ] || fail "expected the result box to read '= 595.09', saw '$result'"

xdotool key ctrl+q
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then fail "expected Ctrl+Q to end the program"; fi
wait "$app"
status=$?
app=""
[ "$status" -eq 0 ] || fail "expected exit status 0, saw $status"
echo "PASS: typed the sample expression, read back '= 595.09', Ctrl+Q ended the program"
