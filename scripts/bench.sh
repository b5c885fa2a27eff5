#!/usr/bin/env bash
# Runs the benchmarks and prints one table of ratios: the matching rule natively (Google
# Benchmark), then the scan, start-up and memory growth over 1,000 scans under Wine with 200
# helper processes. `scripts/bench.sh idle [SECONDS]` runs the real program monitoring instead
# (ten minutes by default). The Windows side runs in a throwaway copy of the prefix with a server
# of its own, so that tests sharing the prefix neither slow it nor are slowed by its processes.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"
ensure_display

echo "| benchmark | measured | against | ratio | target |"
echo "|---|---|---|---|---|"
if [ "${1:-}" != idle ]; then
  build/native/bench/text_bench --benchmark_repetitions=9 --benchmark_min_time=0.1 \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    --benchmark_color=false 2>/dev/null | grep -o '| match.*'
fi
# Wine's helper processes inherit the standard handles and would hold a pipe open: the table goes
# through a file.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
if [ "${1:-}" = idle ]; then
  arguments=(idle "${2:-600}")
else
  arguments=(all "${1:-1000}")
fi
scripts/wine-copy.sh "$WINE" build/windows/bench/xiudeng_bench.exe "${arguments[@]}" \
  >"$out" 2>&1 </dev/null || true
tr -d '\r' <"$out"
