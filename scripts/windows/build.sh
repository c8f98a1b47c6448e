#!/usr/bin/env bash
# make windows: the Windows programs and their installers, cross-built on Debian.
# Usage: scripts/windows/build.sh [OUTPUT_DIR]   (default build-windows)
#   OUTPUT_DIR/solfira.exe                      the game
#   OUTPUT_DIR/solfira-registro.exe             the teacher's register
#   OUTPUT_DIR/solfira-<version>-setup.exe      the installer
#   OUTPUT_DIR/solfira-<version>.msi            the MSI package, for Group Policy and Intune
#   OUTPUT_DIR/policy/                          the policy templates (ADMX, ADML) of the
#                                               school-wide setting
# Installs the `windows` group of scripts/deps.sh when missing; the static Qt is built once
# into a cache (scripts/windows/build-qt.sh) and reused.
set -euo pipefail
cd "$(dirname "$0")/../.."
OUT="${1:-build-windows}"

bash scripts/deps.sh windows
QT_PREFIX=$(bash scripts/windows/build-qt.sh | tail -n 1)

# A tree configured with another Qt (a new source version, other options) starts afresh.
if [ -f "$OUT/CMakeCache.txt" ] && ! grep -qF "$QT_PREFIX" "$OUT/CMakeCache.txt"; then
  rm -rf "$OUT"
fi
if [ ! -f "$OUT/build.ninja" ]; then
  "$QT_PREFIX/bin/qt-cmake" -S . -B "$OUT" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DSOLFIRA_QT_CACHE="$(dirname "$QT_PREFIX")" -DSOLFIRA_WERROR=ON
fi
cmake --build "$OUT" --parallel
cmake --build "$OUT" --target installer msi
ls -l "$OUT"/solfira.exe "$OUT"/solfira-registro.exe "$OUT"/solfira-*-setup.exe "$OUT"/solfira-*.msi
find "$OUT/policy" -type f
