#!/usr/bin/env bash
# Builds the two Debian packages, checks them with lintian (no error and no warning may
# remain) and hardening-check, checks that the command line's package needs no Qt, installs
# them on this machine with apt (the command line first, alone), starts both programs from
# their installed paths, and removes the packages again.
#   scripts/package-test.sh BUILD_DIR
set -euo pipefail
build=${1:-build/default}
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"$(dirname "$0")/install-deps.sh" package
fail() { echo "FAIL: $*"; exit 1; }

rm -f "$build"/numerette_*.deb "$build"/numerette-eval_*.deb
(cd "$build" && cpack >/dev/null)
window=$(ls "$build"/numerette_*.deb | head -n 1)
cli=$(ls "$build"/numerette-eval_*.deb | head -n 1)
work=$(mktemp -d)
cleanup() {
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq numerette numerette-eval >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

for deb in "$window" "$cli"; do
  echo "Checking $deb with lintian and hardening-check"
  lintian --fail-on error,warning "$deb" || fail "lintian reports errors or warnings on $deb"
  dpkg-deb -x "$deb" "$work/$(basename "$deb")"
  # PIE, strong stack protector, _FORTIFY_SOURCE, full RELRO. Control-flow protection is
  # checked apart: Debian 12's C start files (Scrt1.o, crti.o, crtn.o) carry no CET note, so
  # the linker leaves it off every program of the release (/usr/bin/ls too), and
  # hardening-check, which looks only at that note, says "no" for all of them. The
  # instructions -fcf-protection puts at each function's entry are looked for instead.
  for program in "$work/$(basename "$deb")"/usr/bin/*; do
    hardening-check --nocfprotection "$program" || fail "$program is not built hardened"
    [ "$(objdump -d "$program" | grep -c endbr64)" -gt 100 ] || fail "$program is built without -fcf-protection"
  done
done

# The command line links only the C++ runtime: installing it pulls no Qt.
depends=$(dpkg-deb -f "$cli" Depends)
case $depends in *qt* | *Qt* | *fonts-wine*) fail "numerette-eval depends on: $depends" ;; esac
if readelf -d "$work/$(basename "$cli")/usr/bin/numerette-eval" | grep -q 'NEEDED.*Qt'; then
  fail "numerette-eval links Qt"
fi
[ ! -e "$work/$(basename "$cli")/usr/bin/numerette" ] || fail "the command line's package holds the window"

echo "Installing $cli alone"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(realpath "$cli")" >/dev/null
result=$(/usr/bin/numerette-eval '238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3')
[ "$result" = "= 595.09" ] || { echo "FAIL: installed numerette-eval printed '$result'"; exit 1; }
[ -f /usr/share/bash-completion/completions/numerette-eval ] || fail "no bash completion for numerette-eval"
[ ! -e /usr/bin/numerette ] || fail "installing numerette-eval installed the window"

echo "Installing $window"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(realpath "$window")" >/dev/null
[ "$(/usr/bin/numerette --version | head -n 1)" = "numerette 9.19" ] || fail "numerette --version"

# Nothing of the build tree is looked for at run time.
if grep -q -a -F "$(realpath "$build")" /usr/bin/numerette /usr/bin/numerette-eval; then
  echo "FAIL: an installed program names the build folder"
  exit 1
fi

if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
  mkdir "$work/x"
  . "$(dirname "$0")/xvfb.sh"
  xvfb_start "$work/x"
  /usr/bin/numerette 2>/dev/null &
  app=$!
  found=$(window_of '^ Numerette 9.19$' || true)
  kill "$app" "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  [ -n "$found" ] || { echo "FAIL: the installed calculator showed no window"; exit 1; }
fi
[ -f /usr/share/applications/example.numerette.Numerette.desktop ] || { echo "FAIL: no menu entry"; exit 1; }
[ -f /usr/share/bash-completion/completions/numerette ] || fail "no bash completion for numerette"
echo "PASS: both packages are hardened and install, numerette-eval without Qt, both programs start from /usr/bin, and they remove again"
