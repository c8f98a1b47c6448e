#!/usr/bin/env bash
# The MSI package: assets/windows/solfira.wxs compiled by wixl, then the database mended with
# msibuild where wixl leaves it short of what Windows Installer needs:
#   - SecureCustomProperties lists DATADIR besides the upgrade properties, or a managed
#     install (Group Policy, Intune) drops the value given for it;
#   - the code page is 1252 (wixl leaves 0, neutral, while the Italian texts are in 1252);
#   - the summary's template is x64;1040 (wixl writes x64;1033 whatever the language).
# Usage: scripts/windows/msi.sh OUT.msi DEFINES_FILE [NAME=VALUE]...
#   DEFINES_FILE  the defines of solfira.wxs (see its top), one NAME=VALUE a line, as
#                 cmake/WindowsInstaller.cmake writes them; a NAME=VALUE given after it wins
#                 (the check builds a later version so).
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 OUT.msi DEFINES_FILE [NAME=VALUE]..." >&2; exit 2; }
HERE="$(cd "$(dirname "$0")" && pwd)"
WXS="$HERE/../../assets/windows/solfira.wxs"
OUT="$1"
DEFINES="$2"
shift 2

declare -A define=()
while IFS= read -r line || [ -n "$line" ]; do
  [ -n "$line" ] && define["${line%%=*}"]="${line#*=}"
done <"$DEFINES"
for arg in "$@"; do define["${arg%%=*}"]="${arg#*=}"; done

# wixl takes a source file's path only relative to the folder it runs in.
args=()
for name in "${!define[@]}"; do
  value="${define[$name]}"
  [[ "$value" == /* ]] && value="$(realpath --relative-to=. "$value")"
  args+=(-D "$name=$value")
done

tmp="$OUT.tmp"
work="$(mktemp -d)"
trap 'rm -rf "$work" "$tmp"' EXIT
wixl -a x64 -o "$tmp" "${args[@]}" "$WXS"

secure=$(msiinfo export "$tmp" Property | tr -d '\r' |
           awk -F '\t' '$1 == "SecureCustomProperties" { print $2 }')
secure=$(printf '%s\n' DATADIR ${secure//;/ } | sort -u | paste -sd ';')
msibuild "$tmp" -q "UPDATE \`Property\` SET \`Value\` = '$secure' \
                    WHERE \`Property\` = 'SecureCustomProperties'"
printf '\r\n\r\n1252\t_ForceCodepage\r\n' >"$work/_ForceCodepage.idt"
msibuild "$tmp" -i "$work/_ForceCodepage.idt"
msibuild "$tmp" -s "Solfira ${define[VersionText]}" Solfira 'x64;1040'
mv "$tmp" "$OUT"
