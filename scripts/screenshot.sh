#!/usr/bin/env bash
# Takes a screenshot of the calculator's window in its start state under Xvfb:
#   scripts/screenshot.sh PROGRAM OUTPUT.png [SCALE]
set -euo pipefail
program=$1 output=$2 scale=${3:-1}
work=$(mktemp -d)
trap 'kill ${app:-} ${XVFB_PID:-} 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/xvfb.sh"
xvfb_start "$work" 2560x1600x24
export QT_SCALE_FACTOR="$scale"
"$program" 2>/dev/null &
app=$!
window=$(window_of '^ Numerette 9.19$') || { echo "no window" >&2; exit 1; }
sleep 1
import -window "$window" "$output"
