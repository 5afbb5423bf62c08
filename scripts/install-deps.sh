#!/usr/bin/env bash
# Installs what Sorvell needs to build, test and run on Debian 12. Safe to run again: it only
# calls apt-get or locale-gen when something is missing. Packages named as arguments are
# installed too (the fuzz and bench scripts name what only they need); --packaging adds the
# tools that scripts/package.sh builds and checks the Debian package with.
set -euo pipefail

extra=()
for argument in "$@"; do
  case $argument in
    --packaging) extra+=(dpkg-dev file lintian appstream desktop-file-utils) ;;
    *) extra+=("$argument") ;;
  esac
done

packages=(
  build-essential cmake ninja-build pkg-config ccache lld python3
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  googletest libgtest-dev libbenchmark-dev
  # The close tests also run on an X11 desktop with a window manager and on a Wayland compositor,
  # and deliver a close as the platform does (its header comes with the private one).
  qt6-base-private-dev xvfb openbox wmctrl weston qt6-wayland
  # lupdate/lrelease and the CMake functions that run them for the window's catalogues.
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n fonts-dejavu-core
  "${extra[@]}"
)

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
