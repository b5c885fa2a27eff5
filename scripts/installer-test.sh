#!/usr/bin/env bash
# The installer's round trip under Wine, silent: install into a folder of the test's, check what
# landed, uninstall keeping the trust list, then again removing it. Run it through wine-copy.sh:
# it writes to the user's Start menu, Startup folder, registry and c:\.
# Usage: installer-test.sh INSTALLER PROGRAM (the xiudeng.exe the installer must carry)
set -euo pipefail
source "$(dirname "$0")/common.sh"
installer=$1
program=$2
[ -f "$installer" ] || { echo "no installer at $installer: run make package" >&2; exit 1; }
drive_c="$WINEPREFIX/drive_c"
programs="$drive_c/users/root/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\xiudeng'
dir="$drive_c/安装测试/新岫灯"
trust="$dir/岫灯_不通知的进程.txt"
failures=0
check() {  # description, then the test command, which a leading ! negates
  local what=$1 expected=0 status=0
  shift
  if [ "$1" = "!" ]; then
    expected=1
    shift
  fi
  "$@" || status=1
  if [ $status -eq $expected ]; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}
quiet() { "$@" >/dev/null 2>&1; }
install() {
  # /D must come last and unquoted, as NSIS wants it.
  "$WINE" "$installer" /S '/D=C:\安装测试\新岫灯' </dev/null >/dev/null 2>&1
  check "installs xiudeng.exe as built" cmp -s "$dir/xiudeng.exe" "$program"
  for file in README.md LICENSE uninstall.exe; do check "installs $file" test -f "$dir/$file"; done
  check "adds the Start menu entry" test -f "$programs/新岫灯.lnk"
  check "registers the uninstaller" quiet "$WINE" reg query "$key" /v UninstallString
}
# _?= runs the uninstaller in place and waits for it, instead of a copy in the temporary folder.
uninstall() {
  "$WINE" "$dir/uninstall.exe" /S "$@" '_?=C:\安装测试\新岫灯' </dev/null >/dev/null 2>&1
  # Run in place, the uninstaller cannot remove itself.
  rm -f "$dir/uninstall.exe"
  for file in xiudeng.exe README.md LICENSE; do check "removes $file" test ! -e "$dir/$file"; done
  check "removes the Start menu entry" test ! -e "$programs/新岫灯.lnk"
  check "removes the Startup shortcut" test ! -e "$programs/StartUp/岫灯软件.lnk"
  check "removes the auto-start marker" test ! -e "$drive_c/岫灯配置.txt"
  check "unregisters" ! quiet "$WINE" reg query "$key"
}
start_with_windows() {
  mkdir -p "$programs/StartUp"
  touch "$programs/StartUp/岫灯软件.lnk"
  printf 1 >"$drive_c/岫灯配置.txt"
}

install
printf "'将不想被通知的进程 写在下面(一行一个):\r\nnotepad.exe\r\n" >"$trust"
start_with_windows
uninstall
check "keeps the trust list" test -f "$trust"

install
start_with_windows
uninstall /REMOVETRUSTLIST
check "removes the trust list when asked" test ! -e "$trust"
check "leaves nothing else in the install folder" test -z "$(ls -A "$dir")"

[ $failures -eq 0 ] && echo "installer round trip passed" || { echo "$failures checks failed"; exit 1; }
