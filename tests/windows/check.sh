#!/usr/bin/env bash
# make check-windows: the Windows build (scripts/windows/build.sh, cached) played and checked
# under Wine, each run in a fresh Wine prefix on a private X server:
#   0. the third-party notices the installer and the about box show (check_notices.sh);
#   1. the Windows calls and file steps, and the programs' resources (tst_windowscalls.exe),
#      under an Italian and an English locale;
#   2. a whole competition with solfira.exe under an Italian locale, then an English one, then
#      as a pupil's account that may not write in C:\windows (tests/windows/play.py);
#   2b. a game ended while another PC holds the data folder's lock, this PC's clock 10 minutes
#      ahead, then 10 minutes behind (libfaketime; tests/windows/turns.py);
#   2c. the game started with no display: it ends at once instead of waiting unseen;
#   3. the installer, silently, with a shared data folder; the installed game played from
#      where it was installed; the uninstaller, silently; the data left in place
#      (tests/windows/check_installer.sh);
#   4. the register opened on a folder of class logs, its window read off the screen;
#   5. the MSI package: its tables, then installed with a shared data folder, the installed
#      game played into it, upgraded, a downgrade refused, uninstalled, the data left in
#      place (tests/windows/check_msi.sh);
#   6. the school's setting: the policy templates checked, the value they write set in the
#      registry beside the installer's folder, the game played into the policy's folder and
#      the register reading it.
# Usage: tests/windows/check.sh [OUTPUT_DIR]   (default build-windows)
set -euo pipefail
cd "$(dirname "$0")/../.."
TREE="$PWD"
OUT="${1:-build-windows}"
bash scripts/windows/build.sh "$OUT"
OUT="$(cd "$OUT" && pwd)"
version_text=$(sed -n 's/^set(SOLFIRA_VERSION_TEXT "\(.*\)")$/\1/p' CMakeLists.txt)

RUNS="$OUT/check"
rm -rf "$RUNS"
mkdir -p "$RUNS"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The locales the runs name in LC_ALL, compiled for them (the system may lack them): without
# it_IT.UTF-8, xdotool types "Niccol" for "Niccolò".
export LOCPATH="$OUT/locales"
bash scripts/locales.sh "$LOCPATH" >/dev/null
unset WAYLAND_DISPLAY

# A private X server, with no access control so that a second Unix user's Wine reaches it. It
# must not reset when its last client leaves (between two programs): meanwhile it refuses
# connections, and a Wine program starting then runs with no display and no window.
for n in $(seq 70 99); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac -noreset >/dev/null 2>&1 &
XVFB=$!
PUPIL=solfira-alunno
cleanup() {
  kill "$XVFB" 2>/dev/null || true
  for prefix in "$RUNS"/*/prefix; do WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; done
  if id "$PUPIL" >/dev/null 2>&1; then
    pkill -u "$PUPIL" 2>/dev/null || true
    userdel -r "$PUPIL" 2>/dev/null || true
  fi
}
trap cleanup EXIT
export DISPLAY=":$n"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

passed=0
failed=0
say() { echo "--- $*"; }
# Each step counts once: passed or failed.
record() { if [ "$1" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi; }

# A fresh prefix with the fonts a real Windows has (Qt looks for Tahoma); another user's in
# that user's home.
new_prefix() { # NAME LOCALE [USER]
  local prefix="$RUNS/$1/prefix"
  local as=()
  if [ -n "${3:-}" ]; then
    prefix="$(eval echo "~$3")/$1/prefix"
    rm -rf "$(dirname "$prefix")"
    runuser -u "$3" -- mkdir -p "$prefix"
    as=(runuser -u "$3" -- env "HOME=$(eval echo "~$3")" "DISPLAY=$DISPLAY" "WINEDEBUG=$WINEDEBUG"
        "WINEDLLOVERRIDES=$WINEDLLOVERRIDES")
  fi
  mkdir -p "$prefix"
  "${as[@]}" env WINEPREFIX="$prefix" LC_ALL="$2" wine wineboot --init >/dev/null 2>&1 || true
  "${as[@]}" env WINEPREFIX="$prefix" wineserver -w
  cp /usr/share/wine/fonts/tahoma*.ttf "$prefix/drive_c/windows/Fonts/"
  echo "$prefix"
}

# 0. The third-party notices, made from small stand-in Qt caches.
say "the notices"
bash tests/windows/check_notices.sh && record 0 || record 1

# 1. The Windows calls.
for run in "it_IT.UTF-8 it-IT ," "en_US.UTF-8 en-US ."; do
  set -- $run
  say "tst_windowscalls under $1"
  prefix=$(new_prefix "calls-$2" "$1")
  WINEPREFIX="$prefix" LC_ALL="$1" wine "$OUT/tst_windowscalls.exe" "$2" "$3" \
    "$version_text" 'Z:'"${OUT//\//\\}"'\solfira.exe' 'Z:'"${OUT//\//\\}"'\solfira-registro.exe' \
    | tr -d '\r' && record 0 || record 1
  WINEPREFIX="$prefix" wineserver -w
done

# 2. Three whole competitions.
play() { # NAME LOCALE POINT DATE_ORDER DATA_DIR_IN_PREFIX [USER]
  local name=$1 locale=$2 point=$3 order=$4 data=$5 user=${6:-}
  say "a competition: $name"
  local prefix
  prefix=$(new_prefix "$name" "$locale" "$user")
  local exe="$OUT/solfira.exe"
  if [ -n "$user" ]; then
    # The pupil may not write in C:\windows; the program is where the pupil can read it.
    chmod 555 "$prefix/drive_c/windows"
    exe="$(dirname "$prefix")/solfira.exe"
    install -o "$user" -m 755 "$OUT/solfira.exe" "$exe"
  fi
  local args=(--exe "$exe" --prefix "$prefix" --point "$point" --date-order "$order"
              --data "$prefix/drive_c/$data" --shots "$RUNS/$name/screens")
  [ -n "$user" ] && args+=(--user "$user" --untouched "$prefix/drive_c/windows")
  WINEPREFIX="$prefix" LC_ALL="$locale" python3 tests/windows/play.py "${args[@]}" && record 0 || record 1
}
play italiano it_IT.UTF-8 , dmy windows
play english en_US.UTF-8 . mdy windows
id "$PUPIL" >/dev/null 2>&1 || useradd -m "$PUPIL"
play alunno it_IT.UTF-8 , dmy "users/$PUPIL/AppData/Local/Solfira" "$PUPIL"

# 2b. Taking turns with another PC whose clock this one does not share.
for skew in 10 -10; do
  say "another PC's lock, this PC's clock $skew minutes off"
  prefix=$(new_prefix "turni$skew" it_IT.UTF-8)
  WINEPREFIX="$prefix" LC_ALL=it_IT.UTF-8 python3 tests/windows/turns.py --exe "$OUT/solfira.exe" \
    --data "$prefix/drive_c/dati" --data-arg 'C:\dati' --skew "$skew" \
    --shots "$RUNS/turni$skew/screens" && record 0 || record 1
done

# 2c. No display: the game must not run on with no window to answer.
say "the game with no display"
status=0
said=$(env -u DISPLAY WINEPREFIX="$prefix" timeout 60 wine "$OUT/solfira.exe" 2>&1) || status=$?
echo "status $status: $said"
[ "$status" -eq 1 ] && [[ "$said" == *"impossibile aprire una finestra"* ]] && record 0 || record 1

# 3. The installer.
say "the installer"
installed_game() { # the hook of check_installer.sh and check_msi.sh: the installed game, played
  cp /usr/share/wine/fonts/tahoma*.ttf "$WINDOWS_DIR/Fonts/"
  WINEPREFIX="$WINEPREFIX" LC_ALL=it_IT.UTF-8 python3 "$TREE/tests/windows/play.py" \
    --exe 'C:\Program Files\Solfira\solfira.exe' --prefix "$WINEPREFIX" --point , \
    --date-order dmy --data "$SHARED_DIR" --shots "$RUNS/$SHOTS/screens"
}
export -f installed_game
export TREE RUNS
SHOTS=installer SOLFIRA_AFTER_INSTALL=installed_game LC_ALL=it_IT.UTF-8 \
  bash tests/windows/check_installer.sh "$OUT/solfira-$version_text-setup.exe" "$RUNS/installer" &&
  record 0 || record 1

# 4. The register on a folder of class logs.
say "the register"
prefix=$(new_prefix registro it_IT.UTF-8)
logs="$prefix/drive_c/registri"
mkdir -p "$logs"
printf 'Nome:  Anna Risposte esatte 7  Risposte errate  2Tempo restante   00:03:10-"Data:  9/12/2026\r\n' \
  > "$logs/3A.txt"
printf 'Nome:  Niccol\xf2 Risposte esatte 12  Risposte errate  1Tempo restante   00:00:00-"Data:  9/12/2026\r\n' \
  >> "$logs/3A.txt"
WINEPREFIX="$prefix" LC_ALL=it_IT.UTF-8 python3 tests/windows/look.py \
  --exe "$OUT/solfira-registro.exe" --expect 'Classe: 3A' --expect 'Niccol' --expect 'Miglior punteggio' \
  --shot "$RUNS/registro.png" -- --data-dir 'C:\registri' && record 0 || record 1

# 5. The MSI package.
say "the MSI package"
SHOTS=msi SOLFIRA_AFTER_INSTALL=installed_game LC_ALL=it_IT.UTF-8 \
  bash tests/windows/check_msi.sh "$OUT/solfira-$version_text.msi" "$OUT/installer/msi-defines.txt" \
  "$RUNS/msi" && record 0 || record 1

# 6. The school's setting, set where the template says, beside the installer's folder.
say "the school's setting"
school_setting() {
  local prefix lint key name
  lint=$(python3 tests/windows/lint_policy.py "$OUT/policy")
  status=$?
  echo "$lint"
  [ $status -eq 0 ] || return 1
  read -r key name <<<"$(sed -n 's/^setting //p' <<<"$lint")"
  prefix=$(new_prefix policy it_IT.UTF-8)
  export WINEPREFIX="$prefix"
  mkdir -p "$prefix/drive_c/dati installazione" "$prefix/drive_c/dati della scuola"
  wine msiexec /i 'Z:'"${OUT//\//\\}"'\solfira-'"$version_text"'.msi' /qn \
    'DATADIR=C:\dati installazione' >/dev/null 2>&1 || { echo "FAIL msiexec /i"; return 1; }
  wine reg add "$key" /v "$name" /t REG_SZ /d 'C:\dati della scuola' /f >/dev/null 2>&1 ||
    { echo "FAIL reg add $key /v $name"; return 1; }
  wine reg query 'HKLM\Software\Solfira' /v DataDir | grep -q 'C:\\dati installazione' ||
    { echo "FAIL the installer's DataDir not written"; return 1; }
  wineserver -w
  LC_ALL=it_IT.UTF-8 python3 tests/windows/play.py --exe 'C:\Program Files\Solfira\solfira.exe' \
    --prefix "$prefix" --point , --date-order dmy --data "$prefix/drive_c/dati della scuola" \
    --shots "$RUNS/policy/screens" || return 1
  [ -z "$(ls -A "$prefix/drive_c/dati installazione")" ] ||
    { echo "FAIL the installer's folder got files"; return 1; }
  LC_ALL=it_IT.UTF-8 python3 tests/windows/look.py \
    --exe 'C:\Program Files\Solfira\solfira-registro.exe' --expect 'Classe: 3A' --expect 'Niccol' \
    --expect 'dati della scuola' --shot "$RUNS/policy/registro.png"
}
(school_setting) && record 0 || record 1

echo "check-windows: $passed passed, $failed failed"
[ $failed -eq 0 ]
