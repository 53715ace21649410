#!/usr/bin/env bash
# Starts the calculator from a build folder. Until the window program is built,
# the command-line evaluator is what there is to start: it shows its usage.
set -euo pipefail
build=${1:-build/default}
if [ -x "$build/src/app/numerette" ]; then
  exec "$build/src/app/numerette"
fi
exec "$build/src/cli/numerette-eval" --help
