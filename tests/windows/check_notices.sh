#!/usr/bin/env bash
# Checks scripts/windows/notices.sh against small Qt cache folders made here: which bundled
# libraries it names (by the features the Qt build has), that it stops on an attribution it
# has no rule for or on a missing licence text, and that its text is ASCII with CR LF only.
# The mingw-w64 part is read from this machine's /usr/share/doc (scripts/deps.sh windows).
# Prints one `ok ...` or `FAIL ...` line a check; exits non-zero when any check failed.
set -uo pipefail
cd "$(dirname "$0")/../.."
NOTICES="$PWD/scripts/windows/notices.sh"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
failures=0
passes=0
check() { # DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok $1"; passes=$((passes + 1)); else echo "FAIL $1"; failures=$((failures + 1)); fi
}
absent() { ! "$@"; }
has() { grep -q -F -- "$2" "$1"; } # FILE TEXT

attribution() { # CACHE DIR ID NAME LICENCE_FILE
  mkdir -p "$1/licenses/$2"
  # Qt's files hold raw line breaks inside strings, as this one does.
  printf '{\n "Id": "%s",\n "Name": "%s",\n "License": "Test licence",\n "LicenseFile": "%s",\n "Copyright": "Copyright (c) 2020 First\nCopyright (c) 2021 Second"\n}\n' \
    "$3" "$4" "$5" >"$1/licenses/$2/qt_attribution.json"
  printf 'Licence text of %s\n\xc2\xa9 2020 J\xc3\xbcrgen\n' "$4" >"$1/licenses/$2/$5"
}

make_cache() { # CACHE: zlib and libpng kept, FreeType off; Qt's own png
  local c="$1"
  mkdir -p "$c/licenses/LICENSES" "$c/prefix/mkspecs/modules"
  echo "6.4.2+dfsg-10" >"$c/version.txt"
  printf 'cve-2023-32762.diff\ncve-2023-24607.patch\n' >"$c/patches.txt"
  printf -- '-DFEATURE_png=ON\n-DFEATURE_freetype=OFF\n' >"$c/options.txt"
  printf 'GNU LESSER GENERAL PUBLIC LICENSE\nVersion 3\n' >"$c/licenses/LICENSES/LGPL-3.0-only.txt"
  attribution "$c" src/3rdparty/zlib zlib "Data Compression Library (zlib)" LICENSE
  attribution "$c" src/3rdparty/libpng libpng "LibPNG" LICENSE
  attribution "$c" src/3rdparty/freetype freetype "FreeType" LICENSE.txt
  printf 'QT.gui_private.enabled_features = png gif\nQT.gui_private.disabled_features = system-png freetype system-freetype\n' \
    >"$c/prefix/mkspecs/modules/qt_lib_gui_private.pri"
  printf 'QT.core_private.enabled_features = pcre2\nQT.core_private.disabled_features = system-zlib\n' \
    >"$c/prefix/mkspecs/modules/qt_lib_core_private.pri"
  touch "$c/licenses/complete" "$c/complete"
}

# 1. The usual case.
make_cache "$WORK/qt"
out="$WORK/notices.txt"
check "notices written" bash "$NOTICES" "$WORK/qt" "$out"
check "ASCII only" absent grep -q -P '[^\x00-\x7f]' "$out"
check "every line ends in CR LF" absent grep -q -v $'\r$' "$out"
check "no CR without LF" absent grep -q -P '\r(?!$)' "$out"
check "(C) for the copyright sign, u for u-umlaut" has "$out" "(C) 2020 Jurgen"
check "Qt's LGPL text" has "$out" "GNU LESSER GENERAL PUBLIC LICENSE"
check "where Qt's source comes from" has "$out" "apt-get source qt6-base=6.4.2+dfsg-10"
check "the patches applied" has "$out" "cve-2023-24607.patch"
check "the configure options" has "$out" "-DFEATURE_freetype=OFF"
check "zlib named (Qt's own copy)" has "$out" "Data Compression Library (zlib)"
check "both copyright lines of an entry" has "$out" "Copyright (c) 2021 Second"
check "libpng named (Qt's own copy)" has "$out" "Licence text of LibPNG"
check "FreeType left out (off)" absent has "$out" "Licence text of FreeType"
check "the GCC runtime library exception" has "$out" "GCC RUNTIME LIBRARY EXCEPTION"
check "winpthreads' notice" has "$out" "mingw-w64-libraries/winpthreads"
check "Solfira's GPL not included without --license" absent has "$out" "GNU GENERAL PUBLIC LICENSE"

# 2. --license: Solfira's licence first, then the notices.
check "licence text written" bash "$NOTICES" --license LICENSE "$WORK/qt" "$WORK/licenza.txt"
check "the GPL comes first" test "$(head -n 1 "$WORK/licenza.txt" | tr -d ' \r')" = "GNUGENERALPUBLICLICENSE"
check "the notices follow" has "$WORK/licenza.txt" "NOTE SUL SOFTWARE DI TERZE PARTI"

# 3. Qt built against a system libpng: that library is not in the programs.
sed -i 's/disabled_features = system-png/disabled_features =/; s/enabled_features = png/enabled_features = png system-png/' \
  "$WORK/qt/prefix/mkspecs/modules/qt_lib_gui_private.pri"
bash "$NOTICES" "$WORK/qt" "$out"
check "a system libpng is not named" absent has "$out" "Licence text of LibPNG"

# 4. Failures that must stop the build rather than write incomplete notices.
make_cache "$WORK/unknown"
attribution "$WORK/unknown" src/3rdparty/newlib newlib "New Library" LICENSE
check "an attribution without a rule stops it" absent bash "$NOTICES" "$WORK/unknown" "$WORK/u.txt" 2>/dev/null
check "... and writes no file" test ! -e "$WORK/u.txt"
make_cache "$WORK/nolicence"
rm "$WORK/nolicence/licenses/src/3rdparty/zlib/LICENSE"
check "a missing licence text stops it" absent bash "$NOTICES" "$WORK/nolicence" "$WORK/n.txt" 2>/dev/null
make_cache "$WORK/unbuilt"
rm -r "$WORK/unbuilt/prefix"
check "a Qt not built yet stops it" absent bash "$NOTICES" "$WORK/unbuilt" "$WORK/b.txt" 2>/dev/null
make_cache "$WORK/undecided"
sed -i 's/ system-zlib//' "$WORK/undecided/prefix/mkspecs/modules/qt_lib_core_private.pri"
check "a feature the build does not tell stops it" \
  absent bash "$NOTICES" "$WORK/undecided" "$WORK/d.txt" 2>/dev/null

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
