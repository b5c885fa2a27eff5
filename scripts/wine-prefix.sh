#!/usr/bin/env bash
# Makes the Wine prefix under build/: a zh_CN locale (code page 936) and a CJK font behind the
# dialog fonts, so that Chinese captions show as characters. Once; later calls return at once.
set -euo pipefail
source "$(dirname "$0")/common.sh"
stamp="$WINEPREFIX/.xiudeng-ready"
[ -e "$stamp" ] && exit 0

locales=$(LANG=C locale -a)
grep -qi '^zh_CN\.utf-\?8$' <<<"$locales" || localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
mkdir -p "$WINEPREFIX"
log="$ROOT/build/wine-prefix.log"
# wineboot's own status is not reliable; the registry it leaves behind is.
"$WINE" wineboot -i >"$log" 2>&1 || true
"$WINESERVER" -w || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  cat "$log" >&2
  echo "wineboot did not create the prefix $WINEPREFIX" >&2
  exit 1
fi
# Wine rewrites the dialog font when the locale's code page changes, so this comes after a run
# under the target locale.
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
for font in "MS Shell Dlg" "MS Shell Dlg 2" "SimSun" "NSimSun"; do
  "$WINE" reg add "$key" /v "$font" /t REG_SZ /d "WenQuanYi Micro Hei" /f >>"$log" 2>&1 ||
    { cat "$log" >&2; exit 1; }
done
"$WINESERVER" -w || true
touch "$stamp"
