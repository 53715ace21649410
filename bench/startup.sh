#!/usr/bin/env bash
# Start-up of the real program next to a floor (an empty Qt main window with a menu bar,
# bench/floor_window.cpp), on a private Xvfb display: the time from the process's start until
# its window is mapped, the CPU time of all its threads until it has gone idle after its first
# frame, and its resident memory (VmRSS) once it has settled. startup_probe measures them; the
# two programs take turns, one untimed run of each first, then medians. The CPU time is the
# steady figure on a shared machine (wall time moves with the load); the target is on it.
#
#   bench/startup.sh BUILD_DIR
# Environment: STARTUP_REPEATS (runs of each, default 11), STARTUP_SETTLE_MS (wait after the
#              window is mapped before reading the memory, default 1000).
# Exits 77 when Xvfb is not installed or the probe was not built (no libxcb headers).
set -euo pipefail
export LC_ALL=C

if [ $# -ne 1 ]; then
  echo "usage: bench/startup.sh BUILD_DIR" >&2
  exit 2
fi
build_dir=$1
repeats=${STARTUP_REPEATS:-11}
settle=${STARTUP_SETTLE_MS:-1000}

probe=$build_dir/bench/startup_probe
floor=$build_dir/bench/floor_window
program=$build_dir/src/app/numerette
if ! command -v Xvfb >/dev/null; then
  echo "  skipped: Xvfb is not installed (make deps)"
  exit 77
fi
if [ ! -x "$probe" ]; then
  echo "  skipped: $probe was not built (no libxcb headers)"
  exit 77
fi
for f in "$floor" "$program"; do
  if [ ! -x "$f" ]; then
    echo "bench/startup.sh: $f is missing; build first (make bench)" >&2
    exit 2
  fi
done

work=$(mktemp -d)
xvfb=""
cleanup() {
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# -noreset: no server reset between two runs, when no client is connected for a moment.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
if [ ! -s "$work/display" ]; then
  echo "bench/startup.sh: Xvfb did not start: $(head -c 300 "$work/xvfb.log")" >&2
  exit 1
fi
export DISPLAY=":$(cat "$work/display")"
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$work" # a private one, as a desktop session has

app_title=' Numerette 9.19'
floor_title=' Numerette floor'
# run TITLE PROGRAM: "MS KIB" of one start.
run() {
  if ! "$probe" "$1" "$settle" "$2" 2>"$work/probe.log"; then
    echo "bench/startup.sh: $(basename "$2") did not start: $(head -c 500 "$work/probe.log")" >&2
    exit 1
  fi
}

run "$app_title" "$program" >/dev/null # fills the font and file caches for both
run "$floor_title" "$floor" >/dev/null
: >"$work/app" && : >"$work/floor"
for ((i = 0; i < repeats; i++)); do
  run "$app_title" "$program" >>"$work/app"
  run "$floor_title" "$floor" >>"$work/floor"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
app_ms=$(cut -d' ' -f1 "$work/app" | median)
floor_ms=$(cut -d' ' -f1 "$work/floor" | median)
app_kib=$(cut -d' ' -f2 "$work/app" | median)
floor_kib=$(cut -d' ' -f2 "$work/floor" | median)
app_cpu=$(cut -d' ' -f3 "$work/app" | median)
floor_cpu=$(cut -d' ' -f3 "$work/floor" | median)
app_all=$(cut -d' ' -f1 "$work/app" | sort -n | tr '\n' ' ')
floor_all=$(cut -d' ' -f1 "$work/floor" | sort -n | tr '\n' ' ')
app_all_cpu=$(cut -d' ' -f3 "$work/app" | sort -n | tr '\n' ' ')
floor_all_cpu=$(cut -d' ' -f3 "$work/floor" | sort -n | tr '\n' ' ')

awk -v r="$repeats" -v s="$settle" -v am="$app_ms" -v fm="$floor_ms" -v ak="$app_kib" -v fk="$floor_kib" \
  -v ac="$app_cpu" -v fc="$floor_cpu" -v aa="$app_all" -v fa="$floor_all" -v aac="$app_all_cpu" \
  -v fac="$floor_all_cpu" 'BEGIN {
  printf "  %d starts of each, taking turns, after one untimed; medians (memory %d ms after mapping):\n", r, s
  printf "    %-36s %14s %10s %12s\n", "", "CPU to frame", "mapped", "VmRSS"
  printf "    %-36s %11.1f ms %7.1f ms %9.1f MiB\n", "numerette", ac, am, ak / 1024
  printf "    %-36s %11.1f ms %7.1f ms %9.1f MiB\n", "floor_window (empty QMainWindow)", fc, fm, fk / 1024
  printf "  numerette/floor  CPU %5.2fx (target 1.15x: %s), wall to mapped %5.2fx, %+.1f MiB\n", ac / fc,
         (ac / fc <= 1.15) ? "met" : "NOT met", am / fm, (ak - fk) / 1024
  printf "  all runs, CPU ms: numerette %s\n", aac
  printf "                    floor     %s\n", fac
  printf "  all runs, wall ms to mapped: numerette %s\n", aa
  printf "                               floor     %s\n", fa
}'
