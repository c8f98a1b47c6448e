#!/usr/bin/env bash
# Collects the licence texts of a cached Qt for Windows (scripts/windows/build-qt.sh) into its
# licenses/ folder, paths kept: every qt_attribution.json, every LICENSE*/LICENCE*/COPYING* and
# *_LICENSE* file and the SPDX texts of LICENSES/ (Qt's own LGPL-3.0 among them).
# scripts/windows/notices.sh reads them.
# Usage: scripts/windows/qt-licenses.sh QT_CACHE_DIR [QT_SOURCE_DIR]
#   QT_SOURCE_DIR  the unpacked qtbase source; without it, Debian's source package of the
#                  version in QT_CACHE_DIR/version.txt is fetched (apt-get source, a deb-src
#                  entry needed) and only the licence files are taken out of its tarball.
# Does nothing when QT_CACHE_DIR/licenses/complete is there.
set -euo pipefail
[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: $0 QT_CACHE_DIR [QT_SOURCE_DIR]" >&2; exit 2; }
CACHE="$1"
DEST="$CACHE/licenses"
[ -f "$DEST/complete" ] && exit 0

# Prints, one a line, the licence files under the current folder (a qtbase source tree).
licence_files() {
  find . \( -path ./debian -o -path ./tests -o -path ./examples -o -path ./doc \
            -o -path '*/doc/images' -o -path ./src/tools \) -prune -o -type f \
         \( -name qt_attribution.json -o -path ./LICENSES/'*' -o -iname '*LICENSE*' \
            -o -iname '*LICENCE*' -o -iname 'COPYING*' \) \
         ! -name '*.png' -print
}

copy_from() { # SOURCE_DIR
  (cd "$1" && licence_files | while read -r f; do
     mkdir -p "$DEST/$(dirname "$f")"
     cp "$f" "$DEST/$f"
   done)
}

if [ $# -eq 2 ]; then
  copy_from "$2"
else
  version=$(cat "$CACHE/version.txt")
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  echo "fetching the source of qt6-base $version for its licence texts" >&2
  (cd "$work" && apt-get source --download-only "qt6-base=$version" >&2)
  orig=$(ls "$work"/qt6-base_*.orig.tar.*)
  mkdir "$work/src"
  tar -xf "$orig" -C "$work/src" --strip-components=1 --wildcards --no-anchored --ignore-case \
    'qt_attribution.json' '*LICENSE*' '*LICENCE*' 'COPYING*'
  copy_from "$work/src"
fi
# The files notices.sh cannot do without.
for f in LICENSES/LGPL-3.0-only.txt src/3rdparty/zlib/qt_attribution.json; do
  [ -f "$DEST/$f" ] || { echo "$0: $f not found in the Qt source" >&2; exit 1; }
done
touch "$DEST/complete"
