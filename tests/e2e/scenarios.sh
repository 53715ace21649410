#!/usr/bin/env bash
# Drives the real calculator on its own Xvfb display with real X input at the window's
# coordinates, and reads back through the clipboard and through saved files:
#   1. the sample expression and Enter; the result copied with the copy button;
#   2. a calculation built on the keypad lands in the history; a double click brings it back;
#   3. "Decimal Places: Auto" from the Decimal button's pop-up, then calculating again;
#   4. saving through the real save dialog, Clear All, loading back, saving again;
#   5. a cut and paste round trip in the expression box through the Edit menu's keys;
#   6. the keyboard alone: a calculation, an expression row brought back with Shift+Tab, Home
#      and Enter, calculated and sent on with Enter, a result row inserted with Tab and Down;
#   7. Ctrl+Q ends the program with status 0 and leaves no stray files.
# Exits 77 (skipped) when the X tools are missing. On a failure it says what it expected and
# what it saw, and keeps a screenshot.
set -uo pipefail
program=$(realpath "${1:?usage: scenarios.sh PROGRAM [SCREENSHOT_DIR]}")
shots=${2:-$PWD}

for tool in Xvfb xdotool xclip; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/home" "$work/files"

. "$(dirname "$0")/../../scripts/xvfb.sh"
xvfb_start "$work/home"
xvfb=$XVFB_PID
export HOME="$work/home"

step="start"
fail() {
  echo "FAIL in step '$step': $*"
  if command -v import >/dev/null; then
    import -window root "$shots/scenarios-failure.png" 2>/dev/null && echo "screenshot: $shots/scenarios-failure.png"
  fi
  exit 1
}
expect() { # expect WHAT EXPECTED SEEN
  [ "$2" = "$3" ] || fail "expected $1 to be '$2', saw '$3'"
}

(cd "$work/files" && exec "$program") 2>"$work/app.log" &
app=$!
window=$(window_of '^ Numerette 9.19$') || fail "expected the window ' Numerette 9.19' within 10 s"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
cx=$X
cy=$((Y + HEIGHT - 382)) # the client area lies under the menu bar

settle() { sleep "${1:-0.25}"; }
at() { xdotool mousemove $((cx + $1)) $((cy + $2)); }
click() { at "$1" "$2"; xdotool click 1; settle; }
keys() { xdotool key --delay 40 "$@"; settle; }
type_text() { xdotool type --delay 25 "$1"; settle; }
clipboard() { xclip -o -selection clipboard 2>/dev/null; }
# Pixel centres of the controls in the client area (positions in twips / 15).
text1="292 271"; text2="304 365"; clear_box="32 364"; decimal="156 364"; calculate="462 364"
copy_result="538 364"; keypad() { echo $((84 + 24 * $1)) 180; }
row_y() { echo $((4 + 1 + 10 + 20 * $1)); } # rows of the history lists, 20 px apart (fonts-wine)
box_text() { click $text1; keys ctrl+a ctrl+c; clipboard; }

step="1: sample expression"
click $text1
type_text '238+67*5.25-(65-6.5)/22+2^3'
keys Return
click $copy_result
expect "the copied result" "595.09" "$(clipboard)"

step="2: keypad and history"
click $clear_box
click $(keypad 1); click $(keypad 11); click $(keypad 2)
click $calculate
click $copy_result
expect "the copied result" "3" "$(clipboard)"
at 200 "$(row_y 1)"; xdotool click --repeat 2 --delay 80 1; settle
expect "the expression brought back" "1 + 2" "$(box_text)"

step="3: decimal places auto"
click $decimal
keys Up Return # the pop-up's last entry
at 200 "$(row_y 0)"; xdotool click --repeat 2 --delay 80 1; settle
click $calculate
click $copy_result
expect "the copied result at Auto" "595.090909090909" "$(clipboard)"

step="4: save, clear all, load"
saved="$work/files/history.txt"
keys alt+f Return # "Save calculate history as..."
settle 0.8
keys ctrl+a
type_text "$saved"
keys Return
settle 0.5
[ -f "$saved" ] || fail "expected the save dialog to write $saved"
expected=$(printf '238 + 67 * 5.25 - (65 - 6.5) / 22 + 2 ^ 3  = 595.09\r\n1 + 2  = 3\r\n238 + 67 * 5.25 - (65 - 6.5) / 22 + 2 ^ 3  = 595.090909090909\r\n \r\n' | od -An -c)
expect "the saved file's bytes" "$expected" "$(od -An -c "$saved")"
keys alt+c Up Return # "Clear All"
keys alt+f Down Return # "Load calculate history"
settle 0.8
keys ctrl+a
type_text "$saved"
keys Return
settle 0.5
again="$work/files/again.txt"
keys alt+f Return
settle 0.8
keys ctrl+a
type_text "$again"
keys Return
settle 0.5
expect "the file saved after loading" "$(od -An -c "$saved")" "$(od -An -c "$again" 2>/dev/null)"

step="5: cut and paste"
click $clear_box
click $text1
type_text '12*34'
keys ctrl+a ctrl+x
expect "the cut text" "12 * 34" "$(clipboard)"
keys ctrl+v ctrl+v
expect "the box after two pastes" "12 * 3412 * 34" "$(box_text)"

step="6: keyboard only"
keys ctrl+a
type_text '7*6'
keys Return
keys shift+Tab shift+Tab shift+Tab # from the send button: Picture1, the results, the expressions
keys Home Return # the first expression row, as a double click
keys Return # calculate it; the focus goes to the send button
keys Return # which sends the result to the expression box
keys ctrl+a ctrl+c # the focus is back in the expression box
expect "the result sent on" "595.090909090909" "$(clipboard)"
keys End Tab Tab Tab Tab Tab Tab Tab Tab Tab # from the expression box to the results
keys Down # the first result row: inserted at the caret as a click inserts it
keys ctrl+a ctrl+c
expect "the box after a result row" "595.090909090909595.09" "$(clipboard)"

step="7: exit"
keys ctrl+q
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "expected Ctrl+Q to end the program"
wait "$app"
status=$?
app=""
expect "the exit status" "0" "$status"
expect "the files left" "again.txt history.txt" "$(cd "$work/files" && ls -A | tr '\n' ' ' | sed 's/ $//')"
echo "PASS: all seven steps"
