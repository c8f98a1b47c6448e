#!/usr/bin/env bash
# Checks the MSI package under Wine, in a new Wine prefix of its own: its tables read back
# (lint_msi.py); a silent install for the whole machine with a shared data folder whose path
# has spaces; the files, shortcuts, registry values and uninstall entry it makes; the installed
# game played into that folder (the hook); an upgrade to a later version built from the same
# source, which keeps the folder; another that is given a new folder and takes it; the first
# version again, refused; and a silent uninstall that leaves every data file as it was, byte
# for byte. Prints one `ok ...` or `FAIL ...` line a check and the time of each msiexec run;
# exits non-zero when any check failed.
# Usage: tests/windows/check_msi.sh MSI DEFINES_FILE [WORK_DIR]
#   DEFINES_FILE  what the MSI was built from (BUILD/installer/msi-defines.txt): the later
#                 versions are built from it by scripts/windows/msi.sh, and the installed
#                 files compared with the files it names
#   WORK_DIR      where the Wine prefix, the later packages and the kept files go, kept
#                 afterwards; without it a temporary folder, removed at the end.
#   SOLFIRA_AFTER_INSTALL  as for check_installer.sh: a command that plays the installed game
#                 with no --data-dir; SHARED_DIR is the Unix path of DATADIR.
# Needs wine64, wixl and msitools; no X display (msiexec /qn opens no window).
set -uo pipefail
[ $# -ge 2 ] && [ $# -le 3 ] && [ -f "$1" ] && [ -f "$2" ] ||
  { echo "usage: $0 MSI DEFINES_FILE [WORK_DIR]" >&2; exit 2; }
MSI="$(realpath "$1")"
DEFINES="$(realpath "$2")"
TREE="$(cd "$(dirname "$0")/../.." && pwd)"
defined() { sed -n "s/^$1=//p" "$DEFINES"; }
VERSION=$(defined Version)
VERSION_TEXT=$(defined VersionText)

failures=0
passes=0
ok() { echo "ok $*"; passes=$((passes + 1)); }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { if "${@:2}"; then ok "$1"; else fail "$1"; fi; }
absent() { ! "$@" >/dev/null; }

if [ $# -eq 3 ]; then
  mkdir -p "$3"
  WORK="$(cd "$3" && pwd)"
  rm -rf "$WORK/prefix" "$WORK/kept" "$WORK"/*.msi
  keep=1
else
  WORK="$(mktemp -d)"
  keep=0
fi
cd "$WORK"
export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
finish() {
  env -u DISPLAY wineserver -k 2>/dev/null || true
  [ "$keep" = 1 ] || rm -rf "$WORK"
}
trap finish EXIT
w() { env -u DISPLAY -u WAYLAND_DISPLAY wine "$@"; }
settle() { env -u DISPLAY wineserver -w; }
now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

# ---- The tables.
lint=$(python3 "$TREE/tests/windows/lint_msi.py" "$MSI" "$VERSION")
lint_status=$?
while IFS= read -r line; do
  case "$line" in
    ok\ *) ok "table: ${line#ok }" ;;
    FAIL\ *) fail "table: ${line#FAIL }" ;;
  esac
done <<<"$lint"
[ $lint_status -eq 0 ] || grep -q '^FAIL' <<<"$lint" || fail "lint_msi.py ended with $lint_status"

# Two later versions from the same source (each release bumps the version: the same version
# built again would install beside the first).
build=${VERSION##*.}
later() { # N: the package of the version N builds later
  local text
  text="${VERSION_TEXT%.*}.$(printf '%04d' $((10#${VERSION_TEXT##*.} + $1)))"
  bash "$TREE/scripts/windows/msi.sh" "$WORK/solfira-$text.msi" "$DEFINES" \
    "Version=${VERSION%.*}.$((build + $1))" "VersionText=$text" >&2 &&
    echo "$WORK/solfira-$text.msi"
}
start=$(now)
NEXT=$(later 1) && AFTER=$(later 2) || { fail "later versions built"; exit 1; }
label() { basename "$1" .msi | sed 's/^solfira-//'; }
echo "# wixl and msibuild, two packages: $(seconds "$start" "$(now)") s"
product_code() {
  msiinfo export "$1" Property | tr -d '\r' | awk -F '\t' '$1 == "ProductCode" { print $2 }'
}

DRIVE_C="$WINEPREFIX/drive_c"
export PROGRAM_DIR="$DRIVE_C/Program Files/Solfira"
export SHARED_DIR="$DRIVE_C/Dati della scuola/Solfira"
export WINDOWS_DIR="$DRIVE_C/windows"
SETTINGS='HKLM\Software\Solfira'
UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# Wine puts an all-users shortcut in the user's Start menu; Windows in ProgramData.
MENUS=("$DRIVE_C/ProgramData/Microsoft/Windows/Start Menu/Programs/Solfira"
       "$DRIVE_C/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Solfira")

reg_value() {
  local out
  out=$(w reg query "$1" /v "$2" 2>/dev/null | tr -d '\r') || return 1
  sed -n "s/^ *$2 \+REG_[A-Z_]\+ *//p" <<<"$out"
}
key_exists() { w reg query "$1" >/dev/null 2>&1; }
value_is() {
  local got
  got=$(reg_value "$1" "$2") || { echo "   $2: no such value"; return 1; }
  [ "$got" = "$3" ] || { echo "   $2: '$got', expected '$3'"; return 1; }
}
# The uninstall entries named Solfira..., one "KEY DisplayVersion" line each.
entries() {
  w reg query "$UNINSTALL" /s 2>/dev/null | tr -d '\r' | awk '
    /^HKEY/ { key = $0; name = ""; next }
    $1 == "DisplayName" && $3 ~ /^Solfira/ { name = 1 }
    $1 == "DisplayVersion" { version = $3 }
    /^$/ && key != "" { if (name) print key, version; key = "" }
    END { if (key != "" && name) print key, version }'
}
one_entry() { # VERSION
  local got
  got=$(entries)
  [ "$(wc -l <<<"$got")" -eq 1 ] && [ "${got##* }" = "$1" ] ||
    { echo "   entries: $got"; return 1; }
}
menu() { for m in "${MENUS[@]}"; do [ -d "$m" ] && echo "$m" && return 0; done; return 1; }
shortcut_to() { local m; m=$(menu) && grep -a -q -F "$2" "$m/$1"; }
installed() { # the shipped files, byte for byte
  cmp -s "$(defined GameExe)" "$PROGRAM_DIR/solfira.exe" &&
    cmp -s "$(defined RegisterExe)" "$PROGRAM_DIR/solfira-registro.exe" &&
    cmp -s "$(defined Licence)" "$PROGRAM_DIR/Solfira-licenza.txt" &&
    diff -r -q "$(defined PolicyDir)" "$PROGRAM_DIR/policy" >/dev/null
}
run_msiexec() { # WHAT ARGS...: times the run; its exit status in $status
  local what=$1 start
  shift
  start=$(now)
  w msiexec "$@" >/dev/null 2>&1
  status=$?
  settle
  echo "# $what: $(seconds "$start" "$(now)") s"
}

echo "# creating a Wine prefix in $WINEPREFIX"
w wineboot --init >/dev/null 2>&1
settle

# ---- 1. Install, from a batch file: the command line exactly as a script on Windows has it.
printf 'msiexec /i "%s" /qn DATADIR="C:\\Dati della scuola\\Solfira"\r\nexit %%ERRORLEVEL%%\r\n' \
  "$(winepath -w "$MSI")" >"$DRIVE_C/installa.bat"
start=$(now)
w cmd /c 'C:\installa.bat' >/dev/null 2>&1
status=$?
settle
echo "# install: $(seconds "$start" "$(now)") s"
check "msiexec /i ... /qn DATADIR=\"C:\\Dati della scuola\\Solfira\" exits 0 (got $status)" \
  test "$status" -eq 0
check "the programs, the licence and the policy templates installed, byte for byte" installed
check "shortcut Solfira -> solfira.exe" shortcut_to Solfira.lnk 'C:\Program Files\Solfira\solfira.exe'
check "shortcut Registro di Solfira -> solfira-registro.exe" \
  shortcut_to "Registro di Solfira.lnk" 'C:\Program Files\Solfira\solfira-registro.exe'
check "DataDir is the folder with spaces" value_is "$SETTINGS" DataDir 'C:\Dati della scuola\Solfira'
check "nothing under WOW6432Node" absent key_exists 'HKLM\Software\Wow6432Node\Solfira'
code=$(product_code "$MSI")
check "one uninstall entry, version $VERSION" one_entry "$VERSION"
check "uninstall DisplayName" value_is "$UNINSTALL\\$code" DisplayName "Solfira $VERSION_TEXT"
check "uninstall Publisher" value_is "$UNINSTALL\\$code" Publisher Solfira
check "uninstall InstallLocation" value_is "$UNINSTALL\\$code" InstallLocation 'C:\Program Files\Solfira\'

# The school's shared folder is there before the game first runs; Wine's display-less desktop
# from the checks above is gone (a program started on it with a display crashes).
mkdir -p "$SHARED_DIR" "$WORK/kept"
settle
if [ -n "${SOLFIRA_AFTER_INSTALL:-}" ]; then
  check "after_install hook" eval "$SOLFIRA_AFTER_INSTALL"
  settle
else
  echo "skip start of the installed game: SOLFIRA_AFTER_INSTALL not set"
fi
# What the game wrote, a class log of another class, and one a teacher left in the program
# folder: kept aside to compare after the upgrades and the uninstall.
printf '09/12/2026 10:15 Anna 8 2 Livello 3\r\n' >"$SHARED_DIR/4B.txt"
cp "$SHARED_DIR/4B.txt" "$PROGRAM_DIR/4B.txt"
data_files=()
while IFS= read -r -d '' f; do
  data_files+=("$f")
  cp "$f" "$WORK/kept/${#data_files[@]}"
done < <(find "$SHARED_DIR" "$PROGRAM_DIR/4B.txt" -maxdepth 1 -type f -print0)
data_kept() {
  for i in "${!data_files[@]}"; do
    cmp -s "$WORK/kept/$((i + 1))" "${data_files[$i]}" || { echo "   changed: ${data_files[$i]}"; return 1; }
  done
}

# ---- 2. Upgrades: the folder kept when none is given, the one given taken.
run_msiexec "upgrade" /i "$(winepath -w "$NEXT")" /qn
check "upgrade to $(label "$NEXT") exits 0 (got $status)" test "$status" -eq 0
check "one uninstall entry, the new version" one_entry "${VERSION%.*}.$((build + 1))"
check "the old version's entry removed" absent key_exists "$UNINSTALL\\$code"
check "the upgrade keeps DataDir" value_is "$SETTINGS" DataDir 'C:\Dati della scuola\Solfira'
check "the programs still installed" installed
check "shortcut still there" shortcut_to Solfira.lnk 'C:\Program Files\Solfira\solfira.exe'
check "the upgrade leaves the data as it was" data_kept
run_msiexec "upgrade with DATADIR" /i "$(winepath -w "$AFTER")" /qn 'DATADIR=\\server\scuola\dati solfira'
check "upgrade to $(label "$AFTER") with another DATADIR exits 0 (got $status)" \
  test "$status" -eq 0
check "the DATADIR given wins over the one kept" \
  value_is "$SETTINGS" DataDir '\\server\scuola\dati solfira'

# ---- 3. The first version again: refused, with Windows Installer's 1603 (67 under Wine).
run_msiexec "downgrade" /i "$(winepath -w "$MSI")" /qn
check "a downgrade is refused (got $status)" test "$status" -eq $((1603 % 256))
check "the newer version stays" one_entry "${VERSION%.*}.$((build + 2))"
check "its DataDir stays" value_is "$SETTINGS" DataDir '\\server\scuola\dati solfira'

# ---- 4. Uninstall, by product code.
run_msiexec "uninstall" /x "$(product_code "$AFTER")" /qn
check "msiexec /x {product code} /qn exits 0 (got $status)" test "$status" -eq 0
for f in solfira.exe solfira-registro.exe Solfira-licenza.txt policy; do
  check "$f removed" test ! -e "$PROGRAM_DIR/$f"
done
check "the Start-menu folder removed" absent menu
check "HKLM\\Software\\Solfira removed" absent key_exists "$SETTINGS"
check "no uninstall entry left" test -z "$(entries)"
check "every data file kept, byte for byte (${#data_files[@]})" data_kept

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
