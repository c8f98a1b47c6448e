#!/usr/bin/env bash
# The one list of the Debian packages Solfira needs to build, run, test and package; installs
# only those missing. The Makefile, CI, `make check-fresh` and the tests all read it from here.
# A machine that has them all is left alone: no network, no root, nothing printed.
# Usage: scripts/deps.sh [--list]   (--list prints the package names and exits)
set -euo pipefail

# Real package names only (never a virtual one such as libqt6svg6-dev): dpkg-query never sees a
# virtual name installed, so it would be installed again on every run. The test deps_complete
# checks this, and that everything the build loads comes from these packages.
PACKAGES=(
  # build
  cmake ninja-build g++ make pkg-config
  # the code's format: make format, make format-check
  clang-format
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
  # run: fonts metric-compatible with Arial and Times New Roman, Qt's Italian dialog buttons
  fonts-liberation2 fonts-dejavu-core qt6-translations-l10n qt6-qpa-plugins qt6-image-formats-plugins
  # test: real C library locale data (it_IT, de_DE, en_US), compiled by scripts/locales.sh
  locales
  # test: a real X server for the screenshot and end-to-end runs
  python3 xvfb xauth x11-utils xdotool dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
  python3-pyatspi desktop-file-utils appstream
  # test: a real screen reader speaking through speech-dispatcher (audio to a null sink)
  orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng libao4
  # benchmarks under bench/: Google Benchmark for the hot paths
  libbenchmark-dev
  # package: `make package` (dpkg-shlibdeps, CPack's `file`, the gzip -9n of the changelog and
  # manual pages, lintian on the result)
  dpkg-dev file gzip lintian
  # `make check-fresh`: a new Debian 12 system in a chroot
  debootstrap
)

if [ "${1:-}" = "--list" ]; then printf '%s\n' "${PACKAGES[@]}"; exit 0; fi

installed=" $(dpkg-query -W -f='${Package} ${Status}\n' "${PACKAGES[@]}" 2>/dev/null \
              | awk '$2 == "install" && $3 == "ok" && $4 == "installed" { printf "%s ", $1 }' || true)"
missing=()
for p in "${PACKAGES[@]}"; do
  [[ "$installed" == *" $p "* ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
