#!/usr/bin/env bash
# The benchmarks of BENCHMARKS.md (make bench builds first; this builds nothing):
#   1. bench_engine: in-process calculations per second;
#   2. numerette-eval, bc -l and a python3 eval loop on the same generated expressions,
#      each timed as one process over the whole file, best of a few runs; then numerette-eval
#      and bc -l on everyday expressions with functions (generate_everyday.py), and on short
#      lines of one or two operators (generate_short.py);
#   3. bench_window: the real window in process (offscreen), input event to repainted window;
#   4. startup.sh: start-up time and memory of the program next to an empty Qt window, on Xvfb;
#   5. bench_soak: a long mixed session in process, memory and time over it.
# Figures only: missing a target is reported, not failed. The exit status is non-zero only
# when something is broken (a binary missing, the tools disagreeing, an expression failing).
#
#   bench/run.sh BUILD_DIR
# Environment: BENCH_COUNT (expressions, default 100000), BENCH_REPEATS (default 9),
#              BENCH_SECONDS (per bench_engine case, default 1), BENCH_WINDOW_REPEATS (per
#              bench_window case, default 9), STARTUP_REPEATS (default 11),
#              BENCH_SOAK_OPERATIONS (default 100000),
#              BENCH_ONLY=cli (the command-line evaluators alone).
set -euo pipefail
export LC_ALL=C # "." in $EPOCHREALTIME and in awk's numbers

if [ $# -ne 1 ]; then
  echo "usage: bench/run.sh BUILD_DIR" >&2
  exit 2
fi
build_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
count=${BENCH_COUNT:-100000}
repeats=${BENCH_REPEATS:-9}
seconds=${BENCH_SECONDS:-1}
only=${BENCH_ONLY:-}

bench_engine=$build_dir/bench/bench_engine
cli=$build_dir/src/cli/numerette-eval
bench_window=$build_dir/bench/bench_window
bench_soak=$build_dir/bench/bench_soak
for f in "$bench_engine" "$cli" "$bench_window" "$bench_soak"; do
  if [ ! -x "$f" ]; then
    echo "bench/run.sh: $f is missing; build first (make bench)" >&2
    exit 2
  fi
done
for tool in bc python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "bench/run.sh: $tool is not installed (make deps)" >&2
    exit 2
  fi
done

# The interpreter itself, not a launcher in front of it (pyenv's shim alone takes 0.1 s).
python=$(python3 -c 'import sys; print(sys.executable)')

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# No line wrapping of long bc results, so that they read back as numbers.
export BC_LINE_LENGTH=0

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
echo "Numerette benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "  machine: ${cpu:-unknown CPU}, $(nproc) cores; $(uname -sr)"
echo "  build:   $build_dir ($(git -C "$here/.." rev-parse --short HEAD 2>/dev/null || echo 'no git'))"
echo "  tools:   $(bc --version | head -n 1), $("$python" --version 2>&1) ($python)"
echo

if [ "$only" != cli ]; then
  echo "== In-process engine (bench_engine)"
  "$bench_engine" "$seconds"
  echo
fi

echo "== Command-line evaluators, $count expressions each"
python3 "$here/generate_expressions.py" -n "$count" "$scratch"
cat >"$scratch/loop.py" <<'EOF'
import sys
for line in open(sys.argv[1]):
    print(eval(line))
EOF
echo "  e.g. $(head -n 1 "$scratch/numerette.txt")"

# One run of each with its output kept, to show they all compute the same thing.
# numerette-eval exits 1 when an expression fails; that is checked here, not tripped on.
cli_status=0
"$cli" <"$scratch/numerette.txt" >"$scratch/numerette.out" || cli_status=$?
bc -l <"$scratch/bc.txt" >"$scratch/bc.out" 2>"$scratch/bc.err"
"$python" "$scratch/loop.py" "$scratch/python.txt" >"$scratch/python.out"
if [ "$cli_status" -ne 0 ] || [ -s "$scratch/bc.err" ]; then
  echo "bench/run.sh: an expression failed (numerette-eval status $cli_status; bc: $(head -c 200 "$scratch/bc.err"))" >&2
  grep -n -m 5 '^Error' "$scratch/numerette.out" >&2 || true
  exit 1
fi
python3 - "$scratch" <<'EOF'
import sys, os
d = sys.argv[1]
def read(name, conv):
    with open(os.path.join(d, name)) as f:
        return [conv(line) for line in f]
numerette = read("numerette.out", lambda s: float(s[2:].replace(",", "")))  # "= 1,234.57"
bc = read("bc.out", float)
python = read("python.out", float)
if not len(numerette) == len(bc) == len(python):
    sys.exit(f"bench/run.sh: result counts differ: {len(numerette)}, {len(bc)}, {len(python)}")
for i, (n, b, p) in enumerate(zip(numerette, bc, python)):
    # numerette-eval shows 2 decimal places; bc cuts at 20, python rounds to binary.
    if abs(n - p) > 0.0051 + 1e-12 * abs(p) or abs(b - p) > 1e-9 * max(1.0, abs(p)):
        sys.exit(f"bench/run.sh: line {i + 1} disagrees: numerette {n}, bc {b}, python {p}")
print(f"  all {len(python)} results agree (numerette-eval to its 2 decimal places)")
EOF

# once INPUT COMMAND...: "WALL CPU" of one run, in seconds (CPU: user and system time).
once() {
  local input=$1
  shift
  local TIMEFORMAT='%R %U %S'
  { time "$@" <"$input" >/dev/null 2>/dev/null || true; } 2>&1 | awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }'
}
shorter() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }

# The tools take turns, so that a slow moment of the machine does not fall on one alone. The
# best wall time and the best CPU time of each are kept (each may come from another turn).
t_cli="" t_bc="" t_py="" c_cli="" c_bc="" c_py=""
for ((i = 0; i < repeats; i++)); do
  read -r w c < <(once "$scratch/numerette.txt" "$cli")
  t_cli=$(shorter "$t_cli" "$w") c_cli=$(shorter "$c_cli" "$c")
  read -r w c < <(once "$scratch/bc.txt" bc -l)
  t_bc=$(shorter "$t_bc" "$w") c_bc=$(shorter "$c_bc" "$c")
  read -r w c < <(once /dev/null "$python" "$scratch/loop.py" "$scratch/python.txt")
  t_py=$(shorter "$t_py" "$w") c_py=$(shorter "$c_py" "$c")
done

awk -v n="$count" -v r="$repeats" -v c="$t_cli" -v b="$t_bc" -v p="$t_py" -v cc="$c_cli" -v cb="$c_bc" -v cp="$c_py" 'BEGIN {
  printf "  best of %d runs, whole process (start-up, reading, evaluating, printing to /dev/null):\n", r
  printf "    %-34s %8s %8s %14s\n", "", "wall", "CPU", "CPU/expression"
  printf "    %-34s %6.3f s %6.3f s %11.2f us\n", "numerette-eval < numerette.txt", c, cc, cc * 1e6 / n
  printf "    %-34s %6.3f s %6.3f s %11.2f us\n", "bc -l < bc.txt", b, cb, cb * 1e6 / n
  printf "    %-34s %6.3f s %6.3f s %11.2f us\n", "python3 loop.py python.txt", p, cp, cp * 1e6 / n
  printf "  bc/numerette     wall %6.2fx, CPU %6.2fx  (target 5x: %s)\n", b / c, cb / cc, (cb / cc >= 5) ? "met" : "NOT met"
  printf "  python/numerette wall %6.2fx, CPU %6.2fx  (target 10x: %s)\n", p / c, cp / cc, (cp / cc >= 10) ? "met" : "NOT met"
}'

# Everyday expressions, as people type them (functions, names in any case, spaces or none):
# numerette-eval against bc -l only, which gets the same functions in a preamble.
echo
echo "== Command line on everyday expressions, $count expressions each"
python3 "$here/generate_everyday.py" -n "$count" "$scratch/everyday"
echo "  e.g. $(sed -n 4p "$scratch/everyday/numerette.txt")"
cli_status=0
"$cli" --decimals auto --bare <"$scratch/everyday/numerette.txt" >"$scratch/everyday/numerette.out" || cli_status=$?
bc -l <"$scratch/everyday/bc.txt" >"$scratch/everyday/bc.out" 2>"$scratch/everyday/bc.err"
if [ "$cli_status" -ne 0 ] || [ -s "$scratch/everyday/bc.err" ]; then
  echo "bench/run.sh: an everyday expression failed (numerette-eval status $cli_status; bc: $(head -c 200 "$scratch/everyday/bc.err"))" >&2
  exit 1
fi
python3 - "$scratch/everyday" <<'EOF'
import sys, os
d = sys.argv[1]
def read(name):
    with open(os.path.join(d, name)) as f:
        return [float(line) for line in f]
numerette, bc = read("numerette.out"), read("bc.out")
if len(numerette) != len(bc):
    sys.exit(f"bench/run.sh: everyday result counts differ: {len(numerette)}, {len(bc)}")
for i, (n, b) in enumerate(zip(numerette, bc)):
    # numerette-eval writes 15 significant digits; bc works at 20 decimal places.
    if abs(n - b) > 1e-9 * max(1.0, abs(b)):
        sys.exit(f"bench/run.sh: everyday line {i + 1} disagrees: numerette {n}, bc {b}")
print(f"  all {len(bc)} results agree (numerette-eval --decimals auto)")
EOF
t_cli="" t_bc="" c_cli="" c_bc=""
for ((i = 0; i < repeats; i++)); do
  read -r w c < <(once "$scratch/everyday/numerette.txt" "$cli")
  t_cli=$(shorter "$t_cli" "$w") c_cli=$(shorter "$c_cli" "$c")
  read -r w c < <(once "$scratch/everyday/bc.txt" bc -l)
  t_bc=$(shorter "$t_bc" "$w") c_bc=$(shorter "$c_bc" "$c")
done
awk -v r="$repeats" -v n="$count" -v c="$t_cli" -v b="$t_bc" -v cc="$c_cli" -v cb="$c_bc" 'BEGIN {
  printf "  best of %d runs, whole process (numerette-eval at its default 2 decimal places):\n", r
  printf "    %-34s %8s %8s %14s\n", "", "wall", "CPU", "CPU/expression"
  printf "    %-34s %6.3f s %6.3f s %11.2f us\n", "numerette-eval < numerette.txt", c, cc, cc * 1e6 / n
  printf "    %-34s %6.3f s %6.3f s %11.2f us\n", "bc -l < bc.txt", b, cb, cb * 1e6 / n
  printf "  bc/numerette     wall %6.2fx, CPU %6.2fx  (target 5x: %s)\n", b / c, cb / cc, (cb / cc >= 5) ? "met" : "NOT met"
}'

# Short lines, where the fixed cost of a line weighs most: one operator between two numbers
# (decimal), and the variants a generator may lean on: whole numbers, two operators, a minus
# sign before a number, a power.
echo
echo "== Command line on short lines, $count expressions each (generate_short.py)"
printf '    %-10s %-22s %9s %9s %8s\n' "kind" "e.g." "numerette" "bc -l" "bc/num"
for kind in decimal integer integer3 negative power; do
  dir=$scratch/short-$kind
  python3 "$here/generate_short.py" --kind "$kind" -n "$count" "$dir"
  cli_status=0
  "$cli" <"$dir/numerette.txt" >"$dir/numerette.out" || cli_status=$?
  bc -l <"$dir/bc.txt" >"$dir/bc.out" 2>"$dir/bc.err"
  if [ "$cli_status" -ne 0 ] || [ -s "$dir/bc.err" ]; then
    echo "bench/run.sh: a short $kind expression failed (numerette-eval status $cli_status; bc: $(head -c 200 "$dir/bc.err"))" >&2
    exit 1
  fi
  python3 - "$dir" "$kind" <<'EOF'
import sys, os
d, kind = sys.argv[1], sys.argv[2]
def read(name, conv):
    with open(os.path.join(d, name)) as f:
        return [conv(line) for line in f]
numerette = read("numerette.out", lambda s: float(s[2:].replace(",", "")))
bc = read("bc.out", float)
if len(numerette) != len(bc):
    sys.exit(f"bench/run.sh: short {kind} result counts differ: {len(numerette)}, {len(bc)}")
for i, (n, b) in enumerate(zip(numerette, bc)):
    # numerette-eval shows 2 decimal places (of 15 significant digits); bc cuts at 20.
    if abs(n - b) > 0.0051 + 1e-12 * abs(b):
        sys.exit(f"bench/run.sh: short {kind} line {i + 1} disagrees: numerette {n}, bc {b}")
EOF
  c_cli="" c_bc=""
  for ((i = 0; i < repeats; i++)); do
    read -r w c < <(once "$dir/numerette.txt" "$cli")
    c_cli=$(shorter "$c_cli" "$c")
    read -r w c < <(once "$dir/bc.txt" bc -l)
    c_bc=$(shorter "$c_bc" "$c")
  done
  awk -v k="$kind" -v e="$(head -n 1 "$dir/numerette.txt")" -v cc="$c_cli" -v cb="$c_bc" 'BEGIN {
    printf "    %-10s %-22s %7.3f s %7.3f s %7.2fx\n", k, e, cc, cb, cb / cc
  }'
done
echo "  best CPU time of $repeats runs each, whole process; every result agrees with bc to 2 decimal places"

if [ "$only" = cli ]; then
  exit 0
fi

# The window benchmarks run offscreen in process, with a private runtime folder as a desktop
# session would give them.
mkdir -m 700 "$scratch/xdg"
echo
echo "== The window in process (bench_window, offscreen)"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/xdg" "$bench_window" "${BENCH_WINDOW_REPEATS:-9}"

echo
echo "== Start-up on a private Xvfb (bench/startup.sh)"
startup_status=0
"$here/startup.sh" "$build_dir" || startup_status=$?
if [ "$startup_status" -ne 0 ] && [ "$startup_status" -ne 77 ]; then
  exit "$startup_status"
fi

echo
echo "== Soak (bench_soak, offscreen)"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/xdg" "$bench_soak" "${BENCH_SOAK_OPERATIONS:-100000}"
