#!/usr/bin/env bash
# Runs a command against a throwaway copy of the Wine prefix with a wineserver of its own, so that
# what it changes (the registry, the user's folders, c:\) never reaches the tests sharing the
# prefix. The copy links the prefix's files and copies the registry, which Wine changes in place.
# Usage: wine-copy.sh [--dpi N] COMMAND [ARGUMENTS...]
#   --dpi N: the screen at N DPI; the command sees XIUDENG_EXPECTED_DPI=N.
set -euo pipefail
source "$(dirname "$0")/common.sh"
dpi=
if [ "${1:-}" = --dpi ]; then
  dpi=$2
  shift 2
fi
copy=$(mktemp -d "$ROOT/build/wineprefix-copy.XXXXXX")
# The server writes the registry as it ends: wait for it before removing the copy.
trap 'WINEPREFIX="$copy" "$WINESERVER" -k 2>/dev/null; WINEPREFIX="$copy" "$WINESERVER" -w; rm -rf "$copy"' EXIT
cp -al "$WINEPREFIX/." "$copy/"
for hive in "$copy"/*.reg; do cp --remove-destination "$WINEPREFIX/${hive##*/}" "$hive"; done
export XIUDENG_WINEPREFIX="$copy" WINEPREFIX="$copy"
"$WINESERVER" -p
if [ -n "$dpi" ]; then
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  export XIUDENG_EXPECTED_DPI="$dpi"
fi
"$@"
