#!/usr/bin/env bash
# Installs what Numerette needs on Debian 12, and nothing when it is all there already: the
# check is cheap, apt runs only for what is missing.
#   scripts/install-deps.sh [test] [bench] [fuzz] [package] [all]
# Without an argument, what `make run` needs: the compiler, CMake, Ninja and Qt. Each named
# set comes on top of that; the Makefile passes the set of each of its targets.
set -euo pipefail

# fonts-wine: the free fonts metric-compatible with the ones the window is laid out for.
# libglib2.0-dev: GIO, through which the launchers start the desktop's applications.
run=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev fonts-wine
     libglib2.0-dev)
# The headless window tests (the accessibility tree through AT-SPI, what the Orca screen reader
# says through speech-dispatcher, the placement under a window manager), the screenshots and the
# validators of the desktop files. espeak-ng is the voice Debian's Orca speaks with; the test
# records the texts instead.
test=(xvfb xauth xdotool xclip imagemagick fonts-dejavu-core python3 desktop-file-utils appstream
      python3-pyatspi at-spi2-core dbus-x11 openbox x11-utils unicode-data
      orca speech-dispatcher espeak-ng)
bench=(xvfb xauth xdotool bc python3 valgrind)
fuzz=(clang libclang-rt-14-dev)
# devscripts: hardening-check.
package=(dpkg-dev lintian devscripts xvfb xauth xdotool)

packages=("${run[@]}")
for set in "$@"; do
  case $set in
    run) ;;
    test) packages+=("${test[@]}") ;;
    bench) packages+=("${bench[@]}") ;;
    fuzz) packages+=("${fuzz[@]}") ;;
    package) packages+=("${package[@]}") ;;
    all) packages+=("${test[@]}" "${bench[@]}" "${fuzz[@]}" "${package[@]}") ;;
    *)
      echo "usage: scripts/install-deps.sh [test] [bench] [fuzz] [package] [all]" >&2
      exit 2
      ;;
  esac
done

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing dependencies: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi

"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
