#!/usr/bin/env bash
# Runs every test: the native suite, a few seconds of each fuzz target, then the Windows suite
# under Wine with one persistent wineserver for the whole run, so that each Wine test starts in a
# fraction of a second.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"
ensure_display
ctest --preset native
ctest --preset native-sanitize
scripts/fuzz.sh short
# A server left from a run without a display would refuse every window.
"$WINESERVER" -k 2>/dev/null || true
# Quiet: on its way out the server may print the objects it still held.
"$WINESERVER" -p >/dev/null 2>&1
trap '"$WINESERVER" -k >/dev/null 2>&1; [ -n "${XVFB_PID:-}" ] && kill $XVFB_PID 2>/dev/null; true' EXIT
ctest --preset windows
