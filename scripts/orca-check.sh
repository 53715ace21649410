#!/usr/bin/env bash
# What Orca, the screen reader, says about calculations in the real window: starts the
# calculator on its own Xvfb display, D-Bus session and accessibility bus, starts Orca with a
# speech-dispatcher whose only voice writes each text it is given to a file, and then, from the
# expression box, calculates `6 * 7`, `1/0` and a long calculation cancelled with Escape:
#   scripts/orca-check.sh PROGRAM
# Each must be heard: "= 42", "Error", "Error" (the focus stays where the calculation puts it;
# scripts/atspi_check.py checks that). Exits 77 (skipped) when Xvfb, xdotool, xclip, dbus-run-session, Orca or
# speech-dispatcher are missing.
set -uo pipefail
program=$(realpath "${1:?usage: orca-check.sh PROGRAM}")
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool xclip dbus-run-session orca speech-dispatcher; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x /usr/lib/speech-dispatcher-modules/sd_generic ] || { echo "SKIP: speech-dispatcher's generic module is missing"; exit 77; }

if [ -z "${ORCA_CHECK_INNER:-}" ]; then
  exec env ORCA_CHECK_INNER=1 dbus-run-session -- "$0" "$program"
fi

. "$here/xvfb.sh"
work_start
xvfb_start "$work"
export HOME="$work" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0 QT_ACCESSIBILITY=1
spoken="$work/spoken.txt"
# speech-dispatcher of this session only: its one voice appends each text to $spoken, and its
# audio goes nowhere (libao's null driver), so no sound device is needed.
mkdir -p "$HOME/.config/speech-dispatcher/modules" "$work/speech-logs"
cat >"$HOME/.config/speech-dispatcher/speechd.conf" <<CONF
LogLevel 3
LogDir "$work/speech-logs"
AudioOutputMethod "libao"
AddModule "recorder" "sd_generic" "recorder.conf"
DefaultModule recorder
CONF
cat >"$HOME/.config/speech-dispatcher/modules/recorder.conf" <<CONF
GenericExecuteSynth "printf '%s\\\\n' \\'\\\$DATA\\' >> $spoken"
GenericMaxChunkLength 10000
AddVoice "en" "MALE1" "en"
CONF
echo default_driver=null >"$HOME/.libao"
touch "$spoken"

speech_end() {
  local pid
  [ -n "${orca:-}" ] && kill "$orca" 2>/dev/null
  for pid in $(pgrep -f "$work/speech-dispatcher" 2>/dev/null); do kill "$pid" 2>/dev/null; done
  work_end
}
trap speech_end EXIT

fail() {
  echo "FAIL $*"
  echo "--- what Orca said:"; cat "$spoken"
  failures=$((failures + 1))
}
failures=0
# heard TEXT SECONDS: waits until a line of what was spoken since the last `forget` holds TEXT.
heard() {
  local _
  for _ in $(seq $((${2:-3} * 10))); do
    grep -qF -- "$1" "$spoken" && return 0
    sleep 0.1
  done
  return 1
}
forget() { sleep 0.5; : >"$spoken"; }

accessible_window "$program"
orca --debug-file "$work/orca.log" >"$work/orca.out" 2>&1 &
orca=$!
heard "Numerette" 30 || { echo "FAIL: Orca said nothing about the window within 30 s"; cat "$work/orca.out"; exit 1; }

xdotool key shift+Tab # from the result box, where the window starts, to the expression box
heard "Expression" 5 || fail "the expression box was not announced"

forget
xdotool key ctrl+a
xdotool type --delay 60 '6*7'
forget
xdotool key Return
if heard "= 42" 5; then echo "ok   after 6 * 7 Orca says the result"; else fail "after 6 * 7 Orca did not say '= 42'"; fi

xdotool key Return # the send button: the result goes to the expression box, and the focus with it
forget
xdotool key ctrl+a
xdotool type --delay 60 '1/0'
forget
xdotool key Return
if heard "Error" 5; then echo "ok   after 1/0 Orca says Error"; else fail "after 1/0 Orca did not say 'Error'"; fi

# A calculation of several seconds (Replace after Replace over 5,000,000 letters), pasted.
slow='Space(5000000)," ","a"'
for i in $(seq 80); do
  if [ $((i % 2)) = 1 ]; then slow="Replace($slow),\"a\",\"b\""; else slow="Replace($slow),\"b\",\"a\""; fi
done
printf 'Len(Replace(%s))' "$slow" | xclip -selection clipboard 2>/dev/null
xdotool key ctrl+a ctrl+v
forget
xdotool key Return
sleep 1
grep -qF "Error" "$spoken" && fail "the long calculation ended before Escape"
xdotool key Escape
if heard "Error" 3; then echo "ok   Escape cancels the long calculation, and Orca says Error"; else fail "after Escape Orca did not say 'Error'"; fi

[ "$failures" = 0 ] && echo "PASS" || { echo "FAIL: $failures check(s)"; exit 1; }
