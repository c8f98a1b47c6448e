#!/usr/bin/env bash
# make check-windows: builds the Windows-only parts with mingw-w64 and runs their test under
# Wine. Usage: tests/windows/check.sh [OUTPUT_DIR]   (default build-windows)
#   1. installs what tests/windows/packages.txt lists, only what is missing;
#   2. compiles the version resource (assets/windows/solfira.rc.in) with windres;
#   3. compiles platform/WindowsCalls.cpp, platform/PlainFiles.cpp and tests/windows/tst_windowscalls.cpp, with the
#      resource linked in as in solfira.exe;
#   4. runs the test under Wine in an Italian and in an English locale;
#   5. cross-builds a stand-in for solfira.exe with the Windows part of cmake/Packaging.cmake
#      (Qt for Windows is not at hand here) and checks it is a GUI program with the resource.
set -euo pipefail
cd "$(dirname "$0")/../.."
OUT="${1:-build-windows}"
mkdir -p "$OUT"
OUT="$(cd "$OUT" && pwd)"

# 1. Packages.
mapfile -t packages < <(grep -v '^\s*#' tests/windows/packages.txt | grep -v '^\s*$')
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# 2. The resource, filled in as cmake/Packaging.cmake fills it.
version_text=$(sed -n 's/^set(SOLFIRA_VERSION_TEXT "\(.*\)")$/\1/p' CMakeLists.txt)
project_version=$(sed -n 's/^project(Solfira VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version_text" ] && [ -n "$project_version" ] || { echo "version not found in CMakeLists.txt"; exit 1; }
sed -e "s|@SOLFIRA_ICON_FILE@|$PWD/assets/icons/solfira.ico|" \
    -e "s|@SOLFIRA_VERSION_COMMAS@|${project_version//./,}|" \
    -e "s|@SOLFIRA_VERSION_TEXT@|$version_text|" \
    assets/windows/solfira.rc.in > "$OUT/solfira.rc"
x86_64-w64-mingw32-windres "$OUT/solfira.rc" -O coff -o "$OUT/solfira-res.o"
echo "resource: $OUT/solfira-res.o (version $version_text, $project_version)"

# 3. The Qt-free Windows calls and their test.
x86_64-w64-mingw32-g++ -std=c++20 -O2 -Wall -Wextra -Wpedantic -Werror -I. \
    platform/WindowsCalls.cpp platform/PlainFiles.cpp tests/windows/tst_windowscalls.cpp "$OUT/solfira-res.o" \
    -static -lversion -o "$OUT/tst_windowscalls.exe"

# 4. Under Wine, in a prefix of its own; the Unix locale decides the Windows one (Wine has
#    its own locale data: the system's locales need not be generated).
export WINEPREFIX="$OUT/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "creating the Wine prefix (once)"
  LC_ALL=C.UTF-8 wine wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
fi
status=0
run() { # LOCALE WINDOWS_LOCALE SEPARATOR
  echo "--- under LC_ALL=$1"
  LC_ALL="$1" wine "$OUT/tst_windowscalls.exe" "$2" "$3" "$version_text" \
    | tr -d '\r' || status=1
  wineserver -w || true
}
run it_IT.UTF-8 it-IT ,
run C.UTF-8 en-US .

# 5. The Windows build's wiring: a WIN32 executable "solfira" as app/CMakeLists.txt declares
#    it, with cmake/Packaging.cmake included as the top-level CMakeLists.txt includes it.
echo "--- cmake/Packaging.cmake on Windows"
stub="$OUT/packaging-stub"
rm -rf "$stub" && mkdir -p "$stub"
ln -s "$PWD/assets" "$stub/assets"
ln -s "$PWD/cmake" "$stub/cmake"
cat > "$stub/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(Solfira VERSION $project_version LANGUAGES CXX)
set(SOLFIRA_VERSION_TEXT "$version_text")
set(SOLFIRA_APP_ID "it.solfira.Solfira")
include(GNUInstallDirs)
add_executable(solfira WIN32 main.cpp)
include(cmake/Packaging.cmake)
CMAKE
printf '#include <windows.h>\nint WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }\n' \
  > "$stub/main.cpp"
cmake -S "$stub" -B "$stub/build" -G Ninja -DCMAKE_SYSTEM_NAME=Windows \
  -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++ -DCMAKE_RC_COMPILER=x86_64-w64-mingw32-windres \
  >/dev/null
cmake --build "$stub/build" >/dev/null
exe="$stub/build/solfira.exe"
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
texts=$(strings -el "$exe")
if grep -q 'Subsystem.*(Windows GUI)' <<<"$headers"; then
  echo "ok   solfira.exe is a GUI program"
else
  echo "FAIL solfira.exe is not a GUI program"; status=1
fi
if grep -qx "$version_text" <<<"$texts" && grep -qx "Solfira" <<<"$texts"; then
  echo "ok   solfira.exe carries the version resource ($version_text)"
else
  echo "FAIL solfira.exe carries no version resource"; status=1
fi
exit $status
