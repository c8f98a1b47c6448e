#!/usr/bin/env bash
# A static Qt for 64-bit Windows, cross-built once from Debian's own qtbase source into a cache
# outside the tree, and reused until the source version or the configure options change.
# Usage: scripts/windows/build-qt.sh   prints the Qt prefix on its last line
#   SOLFIRA_CACHE  the cache folder (default ${XDG_CACHE_HOME:-~/.cache}/solfira)
# Needs the `windows` group of scripts/deps.sh; adds a deb-src entry to apt's sources when
# there is none (as root, or with sudo).
set -euo pipefail
cd "$(dirname "$0")/../.."
TREE="$PWD"
CACHE="${SOLFIRA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/solfira}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# The source of the Qt whose host tools (moc, rcc, uic) the cross-build uses.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
upstream=${version%-*}
upstream=${upstream#*:}

# Only Debian's patches that are upstream security fixes; the rest are Debian-only.
PATCHES=(cve-2023-32762.diff cve-2023-32763.diff cve-2023-33285.diff cve-2023-24607.patch)

OPTIONS=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF -DFEATURE_static_runtime=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  # Core, Gui, Widgets, Print Support (the register's PDF) and Test; nothing else
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF
  -DFEATURE_printsupport=ON -DFEATURE_testlib=ON
  # the +dfsg source has no wintab; Direct2D is a platform of its own. Fonts through GDI, Qt's
  # default: without DirectWrite 3 its DirectWrite engine is not built, yet Print Support's
  # Windows print engine would still call it (an undefined reference at link time).
  -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
  -DFEATURE_directwrite=OFF
  # Qt's own copies of the libraries it needs; Windows' fonts and code pages
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_freetype=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF
  # the pictures are PNG, GIF, BMP (built in) and the icon ICO
  -DFEATURE_jpeg=OFF -DFEATURE_gif=ON -DFEATURE_ico=ON -DFEATURE_png=ON
)

key=$( { echo "$version"; printf '%s\n' "${PATCHES[@]}" "${OPTIONS[@]}";
         cat "$TREE/cmake/mingw-w64-x86_64.cmake"; x86_64-w64-mingw32-g++-posix -dumpfullversion; } \
       | sha256sum | cut -c1-12)
HERE="$CACHE/qt-$upstream-mingw-$key"
PREFIX="$HERE/prefix"
if [ -f "$HERE/complete" ]; then
  echo "Qt $upstream for Windows: cached in $HERE" >&2
  echo "$PREFIX"
  exit 0
fi

echo "Qt $upstream for Windows: building into $HERE (about 15 minutes on 2 cores)" >&2
rm -rf "$HERE"
mkdir -p "$HERE"
# Qt remembers the toolchain file it was built with: a copy that stays with the cache.
cp "$TREE/cmake/mingw-w64-x86_64.cmake" "$HERE/toolchain.cmake"
WORK="$HERE/work"
mkdir -p "$WORK"
trap 'rm -rf "$WORK"' EXIT

# apt fetches sources only with a deb-src entry: made from apt's own sources when missing.
if ! grep -rqs '^\(Types:.*deb-src\|deb-src \)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  echo "adding deb-src entries beside apt's own sources" >&2
  for sources in /etc/apt/sources.list.d/debian.sources; do
    [ -f "$sources" ] && sed 's/^Types: .*/Types: deb-src/' "$sources" |
      $SUDO tee /etc/apt/sources.list.d/solfira-deb-src.sources >/dev/null
  done
  if [ -f /etc/apt/sources.list ]; then
    grep '^deb ' /etc/apt/sources.list | grep -v 'deb \[' | sed 's/^deb /deb-src /' |
      $SUDO tee /etc/apt/sources.list.d/solfira-deb-src.list >/dev/null || true
  fi
  $SUDO apt-get update -qq
fi
(cd "$WORK" && apt-get source --download-only "qt6-base=$version" >&2)
dsc=$(ls "$WORK"/qt6-base_*.dsc)
dpkg-source --skip-patches -x "$dsc" "$WORK/src" >&2
for patch in "${PATCHES[@]}"; do
  patch -d "$WORK/src" -p1 --forward --silent < "$WORK/src/debian/patches/$patch" >&2
done
printf '%s\n' "${PATCHES[@]}" > "$HERE/patches.txt"
printf '%s\n' "${OPTIONS[@]}" > "$HERE/options.txt"
echo "$version" > "$HERE/version.txt"
# The licences and attributions of Qt and of the libraries bundled in it, for the notices.
bash "$TREE/scripts/windows/qt-licenses.sh" "$HERE" "$WORK/src"

cmake -S "$WORK/src" -B "$WORK/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$HERE/toolchain.cmake" -DCMAKE_INSTALL_PREFIX="$PREFIX" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  "${OPTIONS[@]}" >"$HERE/configure.log" 2>&1 ||
  { tail -40 "$HERE/configure.log" >&2; exit 1; }
cmake --build "$WORK/build" --parallel >"$HERE/build.log" 2>&1 ||
  { tail -40 "$HERE/build.log" >&2; exit 1; }
cmake --install "$WORK/build" >"$HERE/install.log" 2>&1 ||
  { tail -40 "$HERE/install.log" >&2; exit 1; }
touch "$HERE/complete"
# Qt built with other options or from another source is of no more use.
for old in "$CACHE"/qt-*-mingw-*; do
  [ "$old" = "$HERE" ] || rm -rf "$old"
done
echo "Qt $upstream for Windows: built, $(du -sh "$PREFIX" | cut -f1) in $PREFIX" >&2
echo "$PREFIX"
