#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian (no error and no warning may remain),
# installs it on this machine with apt, starts both programs from their installed paths, and
# removes the package again.
#   scripts/package-test.sh BUILD_DIR
set -euo pipefail
build=${1:-build/default}
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"$(dirname "$0")/install-deps.sh" package

rm -f "$build"/numerette_*.deb
(cd "$build" && cpack >/dev/null)
deb=$(ls "$build"/numerette_*.deb | head -n 1)
echo "Checking $deb with lintian"
lintian --fail-on error,warning "$deb" || { echo "FAIL: lintian reports errors or warnings"; exit 1; }
echo "Installing $deb"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(realpath "$deb")" >/dev/null
trap '"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq numerette >/dev/null' EXIT

result=$(/usr/bin/numerette-eval '238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3')
[ "$result" = "= 595.09" ] || { echo "FAIL: installed numerette-eval printed '$result'"; exit 1; }

# Nothing of the build tree is looked for at run time.
if grep -q -a -F "$(realpath "$build")" /usr/bin/numerette /usr/bin/numerette-eval; then
  echo "FAIL: an installed program names the build folder"
  exit 1
fi

if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
  work=$(mktemp -d)
  . "$(dirname "$0")/xvfb.sh"
  xvfb_start "$work"
  /usr/bin/numerette 2>/dev/null &
  app=$!
  found=$(window_of '^ Numerette 9.19$' || true)
  kill "$app" "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
  [ -n "$found" ] || { echo "FAIL: the installed calculator showed no window"; exit 1; }
fi
[ -f /usr/share/applications/example.numerette.Numerette.desktop ] || { echo "FAIL: no menu entry"; exit 1; }
echo "PASS: the package installs, both programs start from /usr/bin, and it removes again"
