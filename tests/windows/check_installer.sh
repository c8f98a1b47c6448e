#!/usr/bin/env bash
# Checks the Windows installer under Wine, in a new Wine prefix of its own: silent installs
# (with and without a shared data folder, into Program Files and elsewhere), the Start-menu
# shortcuts, the registry values, updates, and silent uninstalls that leave every record and
# class log as it was, byte for byte. Prints one `ok ...` or `FAIL ...` line a check and exits
# non-zero when any check failed.
# Usage: tests/windows/check_installer.sh SETUP_EXE [WORK_DIR]
#   WORK_DIR  where the Wine prefix (WORK_DIR/prefix, made anew) and the compared files go, kept
#             afterwards; without it a temporary folder, removed at the end.
#   SOLFIRA_AFTER_INSTALL  a command (an exported shell function, say) that starts the installed
#             game: see after_install below. Without it the game is not started.
# Needs wine and wine64; no X display (silent setups open no window).
set -uo pipefail
[ $# -ge 1 ] && [ $# -le 2 ] && [ -f "$1" ] || { echo "usage: $0 SETUP_EXE [WORK_DIR]" >&2; exit 2; }
SETUP="$(realpath "$1")"
TREE="$(cd "$(dirname "$0")/../.." && pwd)"
VERSION=$(sed -n 's/^set(SOLFIRA_VERSION_TEXT "\(.*\)")$/\1/p' "$TREE/CMakeLists.txt")
[[ "$VERSION" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "version not found in CMakeLists.txt" >&2; exit 2; }
# The four numbers of the version resource, as CMakeLists.txt makes them (major.minor.0.revision).
IFS=. read -r major minor revision <<<"$VERSION"
VI_VERSION="$((10#$major)).$((10#$minor)).0.$((10#$revision))"

# ---- The hook: runs once the first install (shared folder C:\scuola\dati) is checked.
# Exported for it: WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES; PROGRAM_DIR and SHARED_DIR (the
# Unix paths of C:\Program Files\Solfira and C:\scuola\dati, which exists), WINDOWS_DIR
# (C:\windows). No Wine process is running when it is called, and DISPLAY is as the caller had
# it: start "C:\Program Files\Solfira\solfira.exe" (under xvfb-run, say), with no --data-dir
# so that it takes DataDir, and wait for it to end; then `wineserver -w`. A non-zero status
# is a failure. The data files it leaves behind are compared after the uninstall too.
after_install() {
  if [ -n "${SOLFIRA_AFTER_INSTALL:-}" ]; then
    eval "$SOLFIRA_AFTER_INSTALL"
  else
    echo "skip start of the installed game: SOLFIRA_AFTER_INSTALL not set"
  fi
}

failures=0
passes=0
ok() { echo "ok $*"; passes=$((passes + 1)); }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { # DESCRIPTION COMMAND...: ok when the command succeeds
  if "${@:2}"; then ok "$1"; else fail "$1"; fi
}
absent() { ! "$@" >/dev/null; } # COMMAND...: succeeds when the command fails

if [ $# -eq 2 ]; then
  mkdir -p "$2"
  WORK="$(cd "$2" && pwd)"
  rm -rf "$WORK/prefix" "$WORK/sample" "$WORK/kept"
  keep=1
else
  WORK="$(mktemp -d)"
  keep=0
fi
cd "$WORK"
export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all
# No .NET or Gecko prompts; no menu entries for the shortcuts on this (Unix) desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
finish() {
  env -u DISPLAY wineserver -k 2>/dev/null || true
  [ "$keep" = 1 ] || rm -rf "$WORK"
}
trap finish EXIT

# Wine without a display, and its processes all ended before the next step.
w() { env -u DISPLAY -u WAYLAND_DISPLAY wine "$@"; }
settle() { env -u DISPLAY wineserver -w; }
now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

DRIVE_C="$WINEPREFIX/drive_c"
export PROGRAM_DIR="$DRIVE_C/Program Files/Solfira"
export SHARED_DIR="$DRIVE_C/scuola/dati"
export WINDOWS_DIR="$DRIVE_C/windows"
MENU_DIR="$DRIVE_C/ProgramData/Microsoft/Windows/Start Menu/Programs/Solfira"
SETTINGS='HKLM\Software\Solfira'
UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Solfira'

reg_value() { # KEY NAME: prints the value's data; fails when there is no such value
  local out
  out=$(w reg query "$1" /v "$2" 2>/dev/null | tr -d '\r') || return 1
  sed -n "s/^ *$2 \+REG_[A-Z_]\+ *//p" <<<"$out"
}
key_exists() { w reg query "$1" >/dev/null 2>&1; }
value_is() { # KEY NAME EXPECTED
  local got
  got=$(reg_value "$1" "$2") || { echo "   $2: no such value"; return 1; }
  [ "$got" = "$3" ] || { echo "   $2: '$got', expected '$3'"; return 1; }
}
shortcut_to() { # LNK WINDOWS_TARGET: the .lnk names its target
  [ -f "$1" ] && grep -a -q -F "$2" "$1"
}

# The setup's version resource: four numbers and an Italian string table.
version_resource() { # EXE: prints "VI_VERSION 041004e4 VERSION"
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
fixed = data.find(b"\xbd\x04\xef\xfe")  # VS_FIXEDFILEINFO's signature
ms, ls = struct.unpack("<2I", data[fixed + 16:fixed + 24])  # the product version
table = data.find("041004e4".encode("utf-16-le")) >= 0 or data.find("041004E4".encode("utf-16-le")) >= 0
key = "ProductVersion".encode("utf-16-le") + b"\0\0"
at = data.find(key) + len(key)
at += (4 - at % 4) % 4
text = data[at:data.find(b"\0\0", at) + 1].decode("utf-16-le")
print("%d.%d.%d.%d %s %s" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF,
                             "041004e4" if table else "-", text))
PY
}
check "version resource: $VI_VERSION, Italian, $VERSION" \
  test "$(version_resource "$SETUP")" = "$VI_VERSION 041004e4 $VERSION"

echo "# creating a Wine prefix in $WINEPREFIX"
w wineboot --init >/dev/null 2>&1
settle

# A setup told a relative data folder refuses, installing nothing.
w "$SETUP" /S '/DATADIR=dati' >/dev/null 2>&1
status=$?
settle
check "a relative /DATADIR ends the setup with exit code 2 (got $status)" test "$status" -eq 2
check "a relative /DATADIR installs nothing" test ! -e "$PROGRAM_DIR"

# ---- 1. Install for a school with a shared folder (a trailing backslash is dropped).
start=$(now)
w "$SETUP" /S '/DATADIR=C:\scuola\dati\' >/dev/null 2>&1
status=$?
echo "# install: $(seconds "$start" "$(now)") s"
settle
check "silent install exits 0 (got $status)" test "$status" -eq 0
for exe in solfira.exe solfira-registro.exe uninstall.exe; do
  check "C:\\Program Files\\Solfira\\$exe installed" test -s "$PROGRAM_DIR/$exe"
done
check "the licence text installed" grep -q "GNU GENERAL PUBLIC LICENSE" "$PROGRAM_DIR/Solfira-licenza.txt"
check "the policy templates installed in policy\\, byte for byte" \
  diff -r -q "$TREE/assets/windows/policy" "$PROGRAM_DIR/policy"
check "shortcut Solfira -> solfira.exe" \
  shortcut_to "$MENU_DIR/Solfira.lnk" 'C:\Program Files\Solfira\solfira.exe'
check "shortcut Registro di Solfira -> solfira-registro.exe" \
  shortcut_to "$MENU_DIR/Registro di Solfira.lnk" 'C:\Program Files\Solfira\solfira-registro.exe'
check "DataDir is C:\\scuola\\dati" value_is "$SETTINGS" DataDir 'C:\scuola\dati'
check "uninstall DisplayName" value_is "$UNINSTALL" DisplayName Solfira
check "uninstall DisplayVersion" value_is "$UNINSTALL" DisplayVersion "$VERSION"
check "uninstall Publisher" value_is "$UNINSTALL" Publisher Solfira
check "uninstall DisplayIcon" value_is "$UNINSTALL" DisplayIcon 'C:\Program Files\Solfira\solfira.exe'
check "uninstall InstallLocation" value_is "$UNINSTALL" InstallLocation 'C:\Program Files\Solfira'
check "uninstall UninstallString" \
  value_is "$UNINSTALL" UninstallString '"C:\Program Files\Solfira\uninstall.exe"'
check "uninstall QuietUninstallString" \
  value_is "$UNINSTALL" QuietUninstallString '"C:\Program Files\Solfira\uninstall.exe" /S'
check "uninstall NoModify" value_is "$UNINSTALL" NoModify 0x1
check "uninstall NoRepair" value_is "$UNINSTALL" NoRepair 0x1
estimated=$(( $(reg_value "$UNINSTALL" EstimatedSize || echo 0) ))
# The files' sizes only: what a folder itself takes is the file system's, not Windows'.
actual=$(find "$PROGRAM_DIR" -type f -printf '%s\n' | awk '{ s += $1 } END { print int((s + 1023) / 1024) }')
check "uninstall EstimatedSize ${estimated} KB is the folder's ${actual} KB" \
  test $((estimated - actual)) -ge -8 -a $((estimated - actual)) -le 8

# The school's shared folder is there before the game first runs.
mkdir -p "$SHARED_DIR"
# Wine's desktop process, started by the checks above without a display, must be gone: a
# program started on it with a display crashes.
settle
check "after_install hook" after_install
settle

# ---- Records and class logs where the game keeps them: the shared folder, the Windows
# folder, the user's folders, and one a teacher put in the program folder itself. Every .txt
# file there (those the hook's game run wrote too) is kept aside to compare after uninstalling.
user_dir="$DRIVE_C/users/$(id -un)/AppData"
data_dirs=("$SHARED_DIR" "$WINDOWS_DIR" "$user_dir/Roaming/Solfira" "$user_dir/Local/Solfira")
mkdir -p "$WORK/sample" "$WORK/kept"
printf '12\r\n' >"$WORK/sample/velmora.txt"
printf 'Anna\r\n' >"$WORK/sample/velmora1.txt"
printf '09/12/2026 10:15 Anna 8 2 Livello 3\r\n10/12/2026 11:00 Luca 5 5 Livello 1\r\n' \
  >"$WORK/sample/3A.txt"
for dir in "${data_dirs[@]}"; do
  mkdir -p "$dir"
  cp "$WORK/sample/"*.txt "$dir/"
done
cp "$WORK/sample/3A.txt" "$PROGRAM_DIR/3A.txt"
data_files=()
while IFS= read -r -d '' f; do
  data_files+=("$f")
  cp "$f" "$WORK/kept/${#data_files[@]}"
done < <(find "${data_dirs[@]}" "$PROGRAM_DIR/3A.txt" -maxdepth 1 -type f -iname '*.txt' -print0)
check "${#data_files[@]} data files to keep (at least $((3 * ${#data_dirs[@]} + 1)))" \
  test "${#data_files[@]}" -ge $((3 * ${#data_dirs[@]} + 1))

# ---- 2. An update without /DATADIR keeps the shared folder; /DATADIR= (empty) removes it.
w "$SETUP" /S >/dev/null 2>&1
settle
check "an update without /DATADIR keeps DataDir" value_is "$SETTINGS" DataDir 'C:\scuola\dati'
# A folder with spaces, its value quoted as a Windows command line has it (from a batch file).
printf '"%s" /S /DATADIR="\\\\server\\scuola\\dati solfira"\r\n' "$(winepath -w "$SETUP")" \
  >"$DRIVE_C/update.bat"
w cmd /c 'C:\update.bat' >/dev/null 2>&1
settle
check '/DATADIR="\\server\scuola\dati solfira"' \
  value_is "$SETTINGS" DataDir '\\server\scuola\dati solfira'
# ... and the whole option quoted (Wine quotes so an argument with spaces).
w "$SETUP" /S '/DATADIR=D:\Dati di Solfira' >/dev/null 2>&1
settle
check '"/DATADIR=D:\Dati di Solfira"' value_is "$SETTINGS" DataDir 'D:\Dati di Solfira'
w "$SETUP" /S '/DATADIR=' >/dev/null 2>&1
settle
check "an update with an empty /DATADIR removes DataDir" absent reg_value "$SETTINGS" DataDir

# ---- 3. Uninstall: the uninstaller copies itself and returns at once; wait for the copy.
start=$(now)
w 'C:\Program Files\Solfira\uninstall.exe' /S >/dev/null 2>&1
status=$?
settle
echo "# uninstall: $(seconds "$start" "$(now)") s (with Wine's wait for its processes)"
check "silent uninstall exits 0 (got $status)" test "$status" -eq 0
for exe in solfira.exe solfira-registro.exe uninstall.exe Solfira-licenza.txt policy; do
  check "$exe removed" test ! -e "$PROGRAM_DIR/$exe"
done
check "the Start-menu folder removed" test ! -e "$MENU_DIR"
check "the uninstall key removed" absent key_exists "$UNINSTALL"
check "HKLM\\Software\\Solfira removed" absent key_exists "$SETTINGS"
for i in "${!data_files[@]}"; do
  check "kept byte for byte: ${data_files[$i]#"$DRIVE_C"/}" cmp -s "$WORK/kept/$((i + 1))" "${data_files[$i]}"
done

# ---- 4. Another folder (/D=), no shared folder: nothing about data written.
w "$SETUP" /S '/D=C:\Giochi\Solfira' >/dev/null 2>&1
settle
other="$DRIVE_C/Giochi/Solfira"
check "/D= installs into C:\\Giochi\\Solfira" test -s "$other/solfira.exe" -a -s "$other/solfira-registro.exe"
check "/D= InstallLocation" value_is "$UNINSTALL" InstallLocation 'C:\Giochi\Solfira'
check "/D= shortcut -> C:\\Giochi\\Solfira\\solfira.exe" \
  shortcut_to "$MENU_DIR/Solfira.lnk" 'C:\Giochi\Solfira\solfira.exe'
check "no DataDir written without /DATADIR" absent reg_value "$SETTINGS" DataDir
w 'C:\Giochi\Solfira\uninstall.exe' /S >/dev/null 2>&1
settle
check "uninstalled from C:\\Giochi\\Solfira, folder removed" test ! -e "$other"
check "the uninstall key removed again" absent key_exists "$UNINSTALL"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
