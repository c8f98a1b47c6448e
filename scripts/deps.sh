#!/usr/bin/env bash
# The one list of the Debian packages Solfira needs, in groups; installs only those of the
# chosen groups that are missing. The Makefile, CI, `make check-fresh` and the tests all read it.
#   run      build and start the game and the register             (make run)
#   format   the code's format                                     (make format, format-check)
#   package  the Debian packages, checked                           (make package, with run)
#   test     run, format, package, plus what the tests and benchmarks use (make test; the default)
#   windows  the Windows cross-build, its installers and their check under Wine (make windows)
# A machine that has them all is left alone: no network, no root, nothing printed.
# Usage: scripts/deps.sh [GROUP...] [--list]   (--list prints the groups' package names)
set -euo pipefail

# Real package names only (never a virtual one such as libqt6svg6-dev): dpkg-query never sees a
# virtual name installed, so it would be installed again on every run. The test deps_complete
# checks this, and that everything the build loads comes from these packages.
RUN=(
  cmake ninja-build g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev
  # fonts metric-compatible with Arial and Times New Roman, Qt's Italian dialog buttons
  fonts-liberation2 fonts-dejavu-core qt6-translations-l10n qt6-qpa-plugins qt6-image-formats-plugins
)
FORMAT=(clang-format)
# dpkg-shlibdeps, CPack's `file`, gzip -9n, lintian on the result
PACKAGE=(dpkg-dev file gzip lintian)
TEST=(
  # the register's scalable icon, looked at by the desktop-integration tests
  qt6-svg-dev
  # real C library locale data (it_IT, de_DE, en_US), compiled by scripts/locales.sh
  locales
  # a real X server for the screenshot and end-to-end runs
  python3 xvfb xauth x11-utils xdotool dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
  python3-pyatspi desktop-file-utils appstream
  # a real screen reader speaking through speech-dispatcher (audio to a null sink)
  orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng libao4
  # PCs whose clocks are off the shared folder's, for the turn-taking tests and `make check-lab`
  libfaketime
  # benchmarks under bench/: Google Benchmark for the hot paths
  libbenchmark-dev
  # `make check-fresh`: a new Debian 12 system in a chroot
  debootstrap
)
WINDOWS=(
  # the cross compilers (posix threads, as Qt needs), windres; cmake and ninja; Qt's host tools
  # (moc, rcc, uic) of the same version as the Qt source; dpkg-source to unpack that source
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  cmake ninja-build make qt6-base-dev-tools dpkg-dev patch perl python3
  # Qt's Italian translations, built into the programs
  qt6-translations-l10n
  # the installers: the setup program (NSIS) and the MSI (wixl; msitools' msibuild mends the
  # database after it, msiinfo reads its tables back in the check)
  nsis wixl msitools
  # the check: Wine with the fonts a real Windows has, an X server, keys, screenshots read
  wine wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick tesseract-ocr tesseract-ocr-eng tesseract-ocr-ita
  # the Italian and English locales the check runs under, compiled by scripts/locales.sh
  locales
)

groups=()
list=0
for arg in "$@"; do
  case "$arg" in
    --list) list=1 ;;
    run | format | package | test | windows) groups+=("$arg") ;;
    *) echo "usage: scripts/deps.sh [run|format|package|test|windows]... [--list]" >&2; exit 2 ;;
  esac
done
[ ${#groups[@]} -eq 0 ] && groups=(test)
PACKAGES=()
for group in "${groups[@]}"; do
  case "$group" in
    run) PACKAGES+=("${RUN[@]}") ;;
    format) PACKAGES+=("${FORMAT[@]}") ;;
    package) PACKAGES+=("${PACKAGE[@]}") ;;
    test) PACKAGES+=("${RUN[@]}" "${FORMAT[@]}" "${PACKAGE[@]}" "${TEST[@]}") ;;
    windows) PACKAGES+=("${WINDOWS[@]}") ;;
  esac
done
mapfile -t PACKAGES < <(printf '%s\n' "${PACKAGES[@]}" | awk '!seen[$0]++')

if [ $list -eq 1 ]; then printf '%s\n' "${PACKAGES[@]}"; exit 0; fi

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
