#!/usr/bin/env bash
# Runs each fuzz target for a set time and fails on any finding.
# Usage: scripts/run-fuzz.sh BUILD_DIR SECONDS
# A finding is left in BUILD_DIR/findings/TARGET/; copy it into
# fuzz/regressions/TARGET/ once fixed, where the test suite replays it.
set -euo pipefail
build=$1
seconds=$2
root="$(cd "$(dirname "$0")/.." && pwd)"

seeds_for() {
  local target=$1
  echo "$root/fuzz/seeds/$target" "$root/fuzz/regressions/$target"
  if [[ $target == text || $target == front_end ]]; then
    echo "$root/examples" "$root/tests/data"
    echo "$root/bench/data"  # the benchmark corpora
  fi
  return 0
}

status=0
for target in text api front_end; do
  work="$build/corpus/$target"
  findings="$build/findings/$target"
  mkdir -p "$work" "$findings"
  echo "== fuzz_$target for ${seconds}s"
  # shellcheck disable=SC2046
  if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$work" $(seeds_for "$target") \
      2> "$build/fuzz_$target.log"; then
    status=1
    echo "fuzz_$target found a failure; see $build/fuzz_$target.log and $findings/" >&2
    tail -n 40 "$build/fuzz_$target.log" >&2
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/fuzz_$target.log" || true
done
exit $status
