#!/usr/bin/env bash
# A bounded fuzzing run of the engine (make fuzz builds first; this builds nothing).
#   fuzz/run.sh BUILD_DIR [SECONDS]     SECONDS defaults to 60
# The seeds of fuzz/corpus are copied to a scratch corpus under BUILD_DIR, which the fuzzer
# grows; the source tree is never written. Exits non-zero when the fuzzer found a crash, a
# leak, a timeout or too much memory; the input is then kept under BUILD_DIR/fuzz/artifacts.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: fuzz/run.sh BUILD_DIR [SECONDS]" >&2
  exit 2
fi
build_dir=$1
seconds=${2:-60}
if ! [[ $seconds =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "fuzz/run.sh: SECONDS must be a whole number above 0, not '$seconds'" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
if [ -z "${ASAN_SYMBOLIZER_PATH:-}" ] && symbolizer=$(command -v llvm-symbolizer); then
  export ASAN_SYMBOLIZER_PATH=$symbolizer
fi

# Long enough for the long-text paths (a scan over many literals, a search in a long text);
# the engine's own limits keep every input's time and memory bounded.
max_len=65536

# fuzz TARGET SEEDS SECONDS [extra libFuzzer flags]
fuzz() {
  local name=$1 seeds=$2 time=$3
  shift 3
  local fuzzer=$build_dir/fuzz/$name
  if [ ! -x "$fuzzer" ]; then
    echo "fuzz/run.sh: $fuzzer is missing; build first (make fuzz)" >&2
    exit 2
  fi
  local work=$build_dir/fuzz/$name-corpus artifacts=$build_dir/fuzz/$name-artifacts
  # Each run starts from the seeds, and its findings replace those of the run before.
  rm -rf "$work" "$artifacts"
  mkdir -p "$work" "$artifacts"
  cp "$seeds"/* "$work"/
  echo "Fuzzing $name for ${time} s (corpus $work, findings in $artifacts)"
  local status=0
  "$fuzzer" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 -max_total_time="$time" \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$@" "$work" || status=$?
  if [ "$status" -ne 0 ]; then
    echo >&2
    echo "fuzz/run.sh: $name stopped with status $status; its findings:" >&2
    ls -l "$artifacts" >&2 || true
    echo "Reproduce one with: $fuzzer ARTIFACT" >&2
    exit 1
  fi
}

# Two thirds of the time for the engine, the rest shared by the history file reader and the
# command line's line reader.
engine_seconds=$(( seconds * 2 / 3 > 0 ? seconds * 2 / 3 : 1 ))
rest=$(( seconds - engine_seconds ))
history_seconds=$(( rest / 2 > 0 ? rest / 2 : 1 ))
lines_seconds=$(( rest - history_seconds > 0 ? rest - history_seconds : 1 ))
fuzz fuzz_engine "$here/corpus" "$engine_seconds" -dict="$here/engine.dict"
fuzz fuzz_history "$here/corpus-history" "$history_seconds"
fuzz fuzz_lines "$here/corpus-lines" "$lines_seconds"
echo "No crash, leak or hang found in ${seconds} s."
