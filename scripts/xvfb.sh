# Shared by the scripts that drive the real window (sourced, not run):
#   xvfb_start WORK [SCREEN]   a private Xvfb display; sets DISPLAY, XVFB_PID and XDG_RUNTIME_DIR
#   window_of TITLE_REGEX      prints the id of the first window so titled, within 10 s
#   work_start                 a private folder in $work, removed on exit, after the processes
#                              in $app, $wm and $XVFB_PID are ended
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
