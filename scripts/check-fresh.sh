#!/usr/bin/env bash
# make check-fresh: the README's commands on a new Debian 12 machine, for real.
#   1. a minbase Debian 12 system (debootstrap, from the mirror apt is set up with here)
#      holding only git and make; the current commit cloned into it;
#   2. there, as a new user would: `make format-check`, `make run ARGS=--version`,
#      `make package`, `make test`, then `make test` again, which must install nothing (and
#      scripts/deps.sh, run without root and without network, must have nothing to do);
#   3. a second clean minbase system: the packages installed with --no-install-recommends,
#      one after the other (neither may bring Qt Charts or Qt's OpenGL modules); both answer
#      --version; the game and the register open their windows on an Xvfb in that system.
# Prints the times and package counts at the end (also in WORK/report.txt). Needs root.
# Trees with something still mounted inside are never removed.
# Usage: scripts/check-fresh.sh [WORK]   (default /var/tmp/solfira-check-fresh)
set -euo pipefail

SRC=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(realpath -m "${1:-/var/tmp/solfira-check-fresh}")
SUITE=bookworm
BASE=$WORK/base   # the pristine minbase system, copied for each check
DEV=$WORK/dev     # where the README's commands run
USER_PC=$WORK/pc  # where the packages are installed
LOGS=$WORK/logs
REPORT=$WORK/report.txt

[ "$(id -u)" -eq 0 ] || { echo "check-fresh: needs root (debootstrap, chroot, mount)" >&2; exit 1; }
bash "$SRC/scripts/deps.sh" # debootstrap

say() { printf '%s\n' "$*" | tee -a "$REPORT"; }
fail() { echo "check-fresh: FAILED: $*" | tee -a "$REPORT" >&2; exit 1; }

# The mount points below $1, deepest first, as the kernel lists them.
mounts_below() {
  awk -v top="$1" '{ gsub(/\\040/, " ", $2) } $2 == top || index($2, top "/") == 1 { print $2 }' \
    /proc/mounts | sort -r
}

# Ends the processes still running inside the tree $1 (an Xvfb, a D-Bus daemon started there).
end_processes_in() {
  local root pid
  root=$(realpath "$1")
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill "$pid" 2>/dev/null || true
  done
  sleep 1
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -9 "$pid" 2>/dev/null || true
  done
}

unmount_all() {
  local m
  [ -d "$1" ] || return 0
  end_processes_in "$1"
  for m in $(mounts_below "$1"); do umount "$m" || umount -l "$m" || true; done
}

# Removes a tree, but never one with something still mounted inside it.
remove_tree() {
  [ -e "$1" ] || return 0
  unmount_all "$1"
  if [ -n "$(mounts_below "$1")" ]; then
    echo "check-fresh: $1 still has mounts, left in place:" >&2
    mounts_below "$1" >&2
    return 1
  fi
  rm -rf --one-file-system "$1"
}

cleanup() { unmount_all "$DEV"; unmount_all "$USER_PC"; unmount_all "$BASE"; }
trap cleanup EXIT

mount_system() {
  local r=$1
  mount -t proc proc "$r/proc"
  mount -t sysfs sysfs "$r/sys"
  mount --bind /dev "$r/dev"
  mount --bind /dev/pts "$r/dev/pts"
  mount -t tmpfs -o mode=1777 shm "$r/dev/shm"
  cp -L /etc/resolv.conf "$r/etc/resolv.conf"
}

# Runs a shell command inside the system $1 as a fresh root login would.
in_system() {
  local r=$1; shift
  chroot "$r" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/bash -c "$*"
}

package_count() { in_system "$1" "dpkg-query -W -f='\${Status}\n' | grep -c ' installed$'"; }

# The Debian mirror apt is set up with on this machine (deb822 .sources or sources.list).
debian_mirror() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v suite="$SUITE" '
      BEGIN { RS = ""; FS = "\n" }
      { uris = ""; ok = 0
        for (i = 1; i <= NF; i++) {
          if ($i ~ /^URIs:/) { sub(/^URIs:[ \t]*/, "", $i); split($i, u, /[ \t]+/); uris = u[1] }
          if ($i ~ /^Suites:/ && (" " $i " ") ~ (" " suite " ")) ok = 1
          if ($i ~ /^Types:/ && $i !~ /(^|[ \t])deb([ \t]|$)/) ok = 0
        }
        if (ok && uris != "") { print uris; exit } }' "$f"
  done
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk -v suite="$SUITE" '$1 == "deb" { i = 2; if ($2 ~ /^\[/) while ($i !~ /\]$/) i++; if ($2 ~ /^\[/) i++
                                         if ($(i + 1) == suite) { print $i; exit } }' || true
}

elapsed() { echo "$(( $(date +%s) - $1 ))s"; }

# ---- 0. a clean start -----------------------------------------------------------------------
for tree in "$DEV" "$USER_PC" "$BASE"; do remove_tree "$tree" || fail "old tree $tree is still in use"; done
mkdir -p "$LOGS"
rm -f "$LOGS"/* "$REPORT"
COMMIT=$(git -C "$SRC" rev-parse HEAD)
[ -z "$(git -C "$SRC" status --porcelain --untracked-files=no)" ] ||
  echo "check-fresh: uncommitted changes are not checked; the commit $COMMIT is" >&2
MIRROR=${CHECK_FRESH_MIRROR:-$(debian_mirror | sed -n 1p)}
[ -n "$MIRROR" ] || fail "no Debian $SUITE source in apt's configuration"
say "check-fresh of $COMMIT, Debian $SUITE minbase from $MIRROR"

# ---- 1. the new machine ---------------------------------------------------------------------
t=$(date +%s)
debootstrap --variant=minbase "$SUITE" "$BASE" "$MIRROR" > "$LOGS/debootstrap.log" 2>&1 ||
  fail "debootstrap (see $LOGS/debootstrap.log)"
printf '#!/bin/sh\nexit 101\n' > "$BASE/usr/sbin/policy-rc.d" # no services started in there
chmod 755 "$BASE/usr/sbin/policy-rc.d"
say "minbase system: $(package_count "$BASE") packages, debootstrap $(elapsed "$t")"

cp -a "$BASE" "$DEV"
mount_system "$DEV"
t=$(date +%s)
in_system "$DEV" "apt-get update -qq && apt-get install -y -qq --no-install-recommends git make" \
  > "$LOGS/dev-git-make.log" 2>&1 || fail "installing git and make (see $LOGS/dev-git-make.log)"
say "with git and make: $(package_count "$DEV") packages ($(elapsed "$t"))"
git -C "$SRC" bundle create "$DEV/root/solfira.bundle" HEAD > /dev/null 2>&1
in_system "$DEV" "cd /root && git clone -q solfira.bundle solfira && cd solfira && git checkout -q --detach $COMMIT" \
  > "$LOGS/dev-clone.log" 2>&1 || fail "git clone (see $LOGS/dev-clone.log)"

# ---- 2. the README's commands ---------------------------------------------------------------
# In the order a newcomer meets them: a contributor's first `make format-check` (CI's first
# line), then `make run` (the game answers --version, as there is no display here), then the
# school's `make package`, then `make test`. Each must install what it uses itself.
t=$(date +%s)
in_system "$DEV" "cd /root/solfira && make format-check" > "$LOGS/dev-format-check.log" 2>&1 ||
  fail "make format-check (see $LOGS/dev-format-check.log)"
say "make format-check: $(elapsed "$t"), $(package_count "$DEV") packages installed"
t=$(date +%s)
in_system "$DEV" "cd /root/solfira && make run ARGS=--version" > "$LOGS/dev-make-run.log" 2>&1 ||
  fail "make run ARGS=--version (see $LOGS/dev-make-run.log)"
grep -qx 'Solfira [0-9.]*' "$LOGS/dev-make-run.log" ||
  fail "make run ARGS=--version did not print the version (see $LOGS/dev-make-run.log)"
run_count=$(package_count "$DEV")
say "make run ARGS=--version: $(elapsed "$t"), $run_count packages installed"
t=$(date +%s)
in_system "$DEV" "cd /root/solfira && make package" > "$LOGS/dev-make-package.log" 2>&1 ||
  fail "make package (see $LOGS/dev-make-package.log)"
debs=$(cd "$DEV/root/solfira/build" && ls solfira_*.deb solfira-registro_*.deb)
say "make package: $(elapsed "$t"), lintian clean: $(echo $debs); $(package_count "$DEV") packages installed"
t=$(date +%s)
in_system "$DEV" "cd /root/solfira && make test" > "$LOGS/dev-make-test.log" 2>&1 ||
  fail "make test (see $LOGS/dev-make-test.log)"
say "make test: $(elapsed "$t"), $(grep -E 'tests passed' "$LOGS/dev-make-test.log" | tail -n 1);" \
    "$(package_count "$DEV") packages installed"

before=$(in_system "$DEV" "dpkg-query -W -f='\${Package} \${Version} \${Status}\n'")
in_system "$DEV" "cd /root/solfira && unshare -n setpriv --reuid=65534 --regid=65534 --clear-groups \
  bash scripts/deps.sh" > "$LOGS/dev-deps-again.log" 2>&1 ||
  fail "scripts/deps.sh again, without root or network (see $LOGS/dev-deps-again.log)"
[ -s "$LOGS/dev-deps-again.log" ] && fail "scripts/deps.sh again printed: $(cat "$LOGS/dev-deps-again.log")"
t=$(date +%s)
in_system "$DEV" "cd /root/solfira && make test" > "$LOGS/dev-make-test-again.log" 2>&1 ||
  fail "the second make test (see $LOGS/dev-make-test-again.log)"
after=$(in_system "$DEV" "dpkg-query -W -f='\${Package} \${Version} \${Status}\n'")
[ "$before" = "$after" ] || fail "the second make test changed the installed packages: \
$(diff <(echo "$before") <(echo "$after") | grep '^[<>]' | head -n 20)"
grep -q '^Installing:' "$LOGS/dev-make-test-again.log" && fail "the second make test installed packages"
say "make test again: $(elapsed "$t"), installed nothing; deps.sh as nobody without network: nothing to do"

# ---- 3. a school PC: the packages only ------------------------------------------------------
cp -a "$BASE" "$USER_PC"
mount_system "$USER_PC"
mkdir -p "$USER_PC/tmp/debs"
for d in $debs; do cp "$DEV/root/solfira/build/$d" "$USER_PC/tmp/debs/"; done
in_system "$USER_PC" "apt-get update -qq" > "$LOGS/pc-update.log" 2>&1 || fail "apt-get update in the PC"
base_count=$(package_count "$USER_PC")
say "school PC (minbase, $base_count packages), what each package brings (apt's own figures):"
for d in $debs; do
  for how in "--no-install-recommends" "--install-recommends"; do
    out=$(in_system "$USER_PC" "apt-get install --assume-no $how /tmp/debs/$d" 2>&1 || true)
    n=$(echo "$out" | sed -n 's/.* \([0-9]*\) newly installed.*/\1/p')
    size=$(echo "$out" | sed -n 's/^After this operation, \(.*\) of additional disk space will be used\./\1/p')
    say "  ${d%%_*} $how: $n packages, $size"
  done
done

t=$(date +%s)
game=$(echo "$debs" | grep '^solfira_')
registro=$(echo "$debs" | grep '^solfira-registro_')
in_system "$USER_PC" "apt-get install -y -qq --no-install-recommends /tmp/debs/$game" \
  > "$LOGS/pc-install-game.log" 2>&1 || fail "installing $game (see $LOGS/pc-install-game.log)"
game_count=$(package_count "$USER_PC")
in_system "$USER_PC" "solfira --version" | tee "$LOGS/pc-game-version.log" | grep -qx 'Solfira [0-9.]*' ||
  fail "solfira --version: $(cat "$LOGS/pc-game-version.log")"
in_system "$USER_PC" "apt-get install -y -qq --no-install-recommends /tmp/debs/$registro" \
  > "$LOGS/pc-install-registro.log" 2>&1 || fail "installing $registro (see $LOGS/pc-install-registro.log)"
in_system "$USER_PC" "solfira-registro --version" | tee "$LOGS/pc-registro-version.log" |
  grep -qx 'solfira-registro [0-9.]*' || fail "solfira-registro --version: $(cat "$LOGS/pc-registro-version.log")"
# Both programs draw with Qt's base modules alone.
for library in libqt6charts6 libqt6opengl6 libqt6openglwidgets6; do
  if in_system "$USER_PC" "dpkg-query -W -f='\${Status}' $library 2>/dev/null | grep -q ' installed$'"; then
    fail "the packages brought $library"
  fi
done
say "installed with --no-install-recommends: game $((game_count - base_count)) packages," \
    "then the register $(( $(package_count "$USER_PC") - game_count )) more, no Qt Charts nor Qt OpenGL ($(elapsed "$t"));" \
    "$(cat "$LOGS/pc-game-version.log"), $(cat "$LOGS/pc-registro-version.log")"

# The windows, on an X server in that system (installed after the packages, for the check only).
in_system "$USER_PC" "apt-get install -y -qq --no-install-recommends xvfb x11-utils" \
  > "$LOGS/pc-xvfb.log" 2>&1 || fail "installing xvfb (see $LOGS/pc-xvfb.log)"
for program in "solfira Solfira" "solfira-registro solfira-registro"; do
  set -- $program
  in_system "$USER_PC" "
    mkdir -p /tmp/data-$1 && export DISPLAY=:71 XDG_RUNTIME_DIR=/tmp
    Xvfb :71 -screen 0 1280x1024x24 -nolisten tcp > /tmp/xvfb-$1.log 2>&1 &
    for i in \$(seq 50); do xwininfo -root > /dev/null 2>&1 && break; sleep 0.2; done
    $1 --data-dir /tmp/data-$1 > /tmp/$1.log 2>&1 &
    for i in \$(seq 100); do
      xwininfo -root -tree | grep -q '\"$2\")' && { xwininfo -root -tree | grep '\"$2\")'; exit 0; }
      sleep 0.2
    done
    cat /tmp/$1.log; exit 1" > "$LOGS/pc-window-$1.log" 2>&1 ||
    fail "$1 opened no window (see $LOGS/pc-window-$1.log)"
  end_processes_in "$USER_PC"
  say "$1 opened its window: $(grep -c '"'"$2"'")' "$LOGS/pc-window-$1.log") X windows of class $2"
done

# ---- done -----------------------------------------------------------------------------------
cleanup
for tree in "$DEV" "$USER_PC" "$BASE"; do remove_tree "$tree"; done
say "check-fresh passed (logs in $LOGS)"
