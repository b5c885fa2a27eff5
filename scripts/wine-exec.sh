#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest. Wine's helper processes (conhost, services) inherit
# the standard handles and can hold a pipe open long after the program ends, so the program
# writes to a file and this script hands the file on.
source "$(dirname "$0")/common.sh"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$WINE" "$@" >"$out" 2>&1 </dev/null
status=$?
cat "$out"
exit $status
