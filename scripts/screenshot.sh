#!/usr/bin/env bash
# Takes a screenshot of the calculator's window in its start state under Xvfb:
#   scripts/screenshot.sh PROGRAM OUTPUT.png [SCALE]
set -euo pipefail
program=$1 output=$2 scale=${3:-1}
work=$(mktemp -d)
trap 'kill ${app:-} ${xvfb:-} 2>/dev/null; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" XDG_RUNTIME_DIR="$work" QT_SCALE_FACTOR="$scale"
unset QT_QPA_PLATFORM
"$program" 2>/dev/null &
app=$!
for _ in $(seq 100); do
  window=$(xdotool search --name '^ Numerette 9.19$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.1
done
sleep 1
import -window "$window" "$output"
