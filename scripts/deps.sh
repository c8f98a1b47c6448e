#!/usr/bin/env bash
# Installs the Debian packages Solfira needs to build, run and test, only those missing.
# Usage: scripts/deps.sh [--list]   (--list prints the package names and exits)
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
  # run: fonts metric-compatible with Arial and Times New Roman, Qt's Italian dialog buttons
  fonts-liberation2 fonts-dejavu-core qt6-translations-l10n qt6-qpa-plugins qt6-image-formats-plugins
  # test: real C library locale data (it_IT, de_DE, en_US), compiled by scripts/locales.sh
  locales
  # test: a real X server for the screenshot and end-to-end runs
  xvfb x11-utils xdotool dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0 python3-pyatspi
  # test: a real screen reader speaking through speech-dispatcher (audio to a null sink)
  orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng libao4
  desktop-file-utils appstream
  # benchmarks under bench/: Google Benchmark for the hot paths
  libbenchmark-dev
  # package: `make package` finds the library dependencies with dpkg-shlibdeps
  dpkg-dev
)

if [ "${1:-}" = "--list" ]; then printf '%s\n' "${PACKAGES[@]}"; exit 0; fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
