#!/usr/bin/env bash
# Makes the real C library locale data the tests run under: it_IT.UTF-8 and de_DE.UTF-8
# (decimal comma) and en_US.UTF-8 (decimal point), compiled from the system's locale sources.
# Into the private folder given as the first argument, for use with LOCPATH=<folder> (the
# tests); without one, as root, into the system's locale archive, as an Italian desktop has
# them. Exits non-zero when any cannot be made.
# Usage: scripts/locales.sh [PRIVATE_DIR]
set -euo pipefail

LOCALES=(it_IT de_DE en_US)
private="${1:-}"

if [ ! -d /usr/share/i18n/locales ]; then
  echo "locales.sh: /usr/share/i18n/locales is missing (Debian package 'locales'; scripts/deps.sh installs it)" >&2
  exit 1
fi

has_system() { locale -a 2>/dev/null | grep -qix "$(echo "$1.utf8" | sed 's/\./\\./g')"; }

status=0
for l in "${LOCALES[@]}"; do
  if [ "$(id -u)" -eq 0 ] && [ -z "$private" ]; then
    has_system "$l" && continue
    echo "locales.sh: compiling $l.UTF-8 into the system locale archive"
    localedef -i "$l" -f UTF-8 "$l.UTF-8" || status=1
  else
    [ -n "$private" ] || { echo "locales.sh: not root: give a private folder" >&2; exit 1; }
    mkdir -p "$private"
    [ -f "$private/$l.UTF-8/LC_NUMERIC" ] && continue
    echo "locales.sh: compiling $l.UTF-8 into $private"
    localedef --no-archive -i "$l" -f UTF-8 "$private/$l.UTF-8" || status=1
  fi
done

# Proof that the C library now uses them: the decimal point each one gives.
for l in it_IT:, de_DE:, en_US:.; do
  name="${l%%:*}.UTF-8" want="${l##*:}"
  got=$(LOCPATH="${private:-${LOCPATH:-}}" LC_ALL="$name" locale decimal_point 2>/dev/null || true)
  if [ "$got" != "$want" ]; then
    echo "locales.sh: $name gives decimal point '$got', expected '$want'" >&2
    status=1
  fi
done
exit $status
