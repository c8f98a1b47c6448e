# Sourced by the installer checks: a work folder holding a fresh Wine prefix, and Wine run
# without a display.
#   wine_work [DIR [PATTERN...]]   DIR is kept afterwards, with what matches the PATTERNs in it
#                                  (and its prefix) removed first; without DIR a temporary
#                                  folder, removed at the end. Sets WORK and WINEPREFIX, cds there.
wine_work() {
  if [ $# -ge 1 ]; then
    mkdir -p "$1"
    WORK="$(cd "$1" && pwd)"
    shift
    (cd "$WORK" && rm -rf -- prefix $*) # the patterns globbed in there
    keep=1
  else
    WORK="$(mktemp -d)"
    keep=0
  fi
  cd "$WORK"
  export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all
  # No .NET or Gecko prompts; no menu entries for the shortcuts on this (Unix) desktop.
  export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
  trap wine_work_finish EXIT
}
wine_work_finish() {
  env -u DISPLAY wineserver -k 2>/dev/null || true
  [ "$keep" = 1 ] || rm -rf "$WORK"
}

# Wine without a display, and its processes all ended before the next step.
w() { env -u DISPLAY -u WAYLAND_DISPLAY wine "$@"; }
settle() { env -u DISPLAY wineserver -w; }
now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }
