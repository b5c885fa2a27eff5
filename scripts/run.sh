#!/usr/bin/env bash
# Starts xiudeng.exe under Wine on $DISPLAY, or on a virtual display when there is none.
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_display
echo "xiudeng.exe runs on display $DISPLAY"
"$WINE" "$ROOT/build/windows/xiudeng.exe"
