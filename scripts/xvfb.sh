# Shared by the scripts that drive the real window (sourced, not run):
#   xvfb_start WORK [SCREEN]   a private Xvfb display; sets DISPLAY, XVFB_PID and XDG_RUNTIME_DIR
#   window_of TITLE_REGEX      prints the id of the first window so titled, within 10 s
#   work_start                 a private folder in $work, removed on exit, after the processes
#                              in $app, $wm and $XVFB_PID are ended
#   accessible_window PROGRAM  (inside dbus-run-session, after xvfb_start) starts PROGRAM with
#                              accessibility on, its accessibility bus private to this run;
#                              sets $app and $window, or fails
xvfb_start() {
  local work=$1 screen=${2:-1280x800x24}
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$work/display" 2>/dev/null &
  XVFB_PID=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$work/display")"
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR_OVERRIDE:-$work}
  unset QT_QPA_PLATFORM
}

window_of() {
  local found=""
  for _ in $(seq 100); do
    found=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
    [ -n "$found" ] && break
    sleep 0.1
  done
  [ -n "$found" ] && echo "$found"
}

work_start() {
  work=$(mktemp -d)
  trap work_end EXIT
}

work_end() {
  local pid
  for pid in "${app:-}" "${wm:-}" "${XVFB_PID:-}"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
  wait 2>/dev/null
  rm -rf "$work"
}

accessible_window() {
  export HOME="$work" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0 QT_ACCESSIBILITY=1
  # The bus launcher puts its socket under the runtime folder (else under ~/.cache), from the
  # session bus's environment: without this, runs one after another share one socket path, and
  # the launcher of the last run, going away, removes the socket of the next.
  dbus-update-activation-environment HOME XDG_RUNTIME_DIR >/dev/null 2>&1
  # The accessibility bus is started first, so that the program does not wait for it.
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1
  "$1" 2>"$work/app.log" &
  app=$!
  window=$(window_of '^ Numerette 9.19$' || window_of '^ Numerette 9.19$') ||
    { echo "FAIL: no window within 20 s"; cat "$work/app.log"; exit 1; }
  sleep 0.5
  xdotool windowfocus --sync "$window" # no window manager here: the input focus is given by hand
}
