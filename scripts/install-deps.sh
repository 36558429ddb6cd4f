#!/usr/bin/env bash
# Installs every Debian package QOR needs to build, test and run.
# This is the only place the project installs packages; it installs only what is missing.
set -euo pipefail

PACKAGES=(
  # toolchain, and the formatter the format check runs (scripts/check-format.sh)
  g++ make cmake pkg-config git clang-format
  # engine
  libboost-serialization-dev libboost-iostreams-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # user interface: Qt 6 Widgets, printing, PDF viewer
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-pdf-dev libgl-dev libglx-dev libopengl-dev
  libxkbcommon-dev libx11-dev libxcb1-dev
  # fonts metric-compatible with Arial and Times New Roman, and a fallback
  fonts-liberation fonts-dejavu-core fontconfig
  # Qt's platform plugins (xcb under X, offscreen in tests)
  libqt6gui6 qt6-qpa-plugins
  # the tests that start the program under a virtual X server with a window manager and look at its window
  xvfb xdotool openbox x11-utils imagemagick
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
