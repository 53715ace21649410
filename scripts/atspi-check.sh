#!/usr/bin/env bash
# Starts the calculator on its own Xvfb display and D-Bus session with accessibility on, and
# reads it through AT-SPI as a screen reader would (scripts/atspi_check.py, or the check named):
#   scripts/atspi-check.sh PROGRAM [CHECK.py]
# Exits 77 (skipped) when Xvfb, xdotool, dbus-run-session or python3-pyatspi are missing.
set -uo pipefail
program=$(realpath "${1:?usage: atspi-check.sh PROGRAM [CHECK.py]}")
check=${2:-atspi_check.py}
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }

if [ -z "${ATSPI_CHECK_INNER:-}" ]; then
  exec env ATSPI_CHECK_INNER=1 dbus-run-session -- "$0" "$program" "$check"
fi

. "$here/xvfb.sh"
work_start
xvfb_start "$work"
accessible_window "$program"
sleep 0.3
/usr/bin/python3 "$here/$check" "$window"
