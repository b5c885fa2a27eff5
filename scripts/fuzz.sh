#!/usr/bin/env bash
# Runs every fuzz target of build/fuzz over its seed corpus, one after another, each one process.
#   scripts/fuzz.sh short   a few seconds each, as `make test` does
#   scripts/fuzz.sh long    ten million executions each (`make fuzz`)
#   scripts/fuzz.sh long text_rules url_parts    only the targets named
# New inputs collect in build/fuzz/corpus/, never among the seeds; a failing input is kept in
# build/fuzz/ and its log shown.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT/build/fuzz"
case "${1:-short}" in
  short) limit=(-max_total_time=5) ;;
  long) limit=(-runs=10000000) ;;
  *) echo "usage: $0 [short|long] [TARGET...]" >&2; exit 2 ;;
esac
shift || true
names=("$@")
[ ${#names[@]} -gt 0 ] || names=($(ls "$ROOT/fuzz/corpus"))
failed=0
for name in "${names[@]}"; do
  seeds="$ROOT/fuzz/corpus/$name"
  mkdir -p "corpus/$name"
  start=$(date +%s)
  if fuzz/"${name}_fuzz" "${limit[@]}" -max_len=256 -print_final_stats=1 \
      -artifact_prefix="$PWD/${name}-" "corpus/$name" "$seeds" >"$name.log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$name.log")
    echo "fuzz $name: $runs executions in $(($(date +%s) - start)) s, every invariant held"
  else
    echo "fuzz $name: FAILED, see build/fuzz/$name.log"
    tail -n 30 "$name.log"
    failed=1
  fi
done
exit $failed
