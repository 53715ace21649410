#!/bin/sh
# The window program answers --version and --help without a display and without a window,
# and says so when it cannot write the answer.
#   command-line.sh NUMERETTE
set -u
program=$1
fail() { echo "FAIL: $*"; exit 1; }
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

out=$("$program" --version) || fail "--version exited with $?"
case $out in
  "numerette 9.19
Copyright (C) "*"License MIT"*) ;;
  *) fail "--version printed: $out" ;;
esac
out=$("$program" -platform offscreen --help) || fail "--help exited with $?"
case $out in "usage: numerette "*) ;; *) fail "--help printed: $out" ;; esac
"$program" --version >&- 2>/dev/null
[ $? -eq 2 ] || fail "--version into a closed output did not exit with 2"
"$program" --version >/dev/full 2>/dev/null
[ $? -eq 2 ] || fail "--version into a full disk did not exit with 2"
echo "PASS"
