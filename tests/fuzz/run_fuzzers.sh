#!/usr/bin/env bash
# Runs each fuzzer, or those named, for SECONDS on a fresh copy of its seeds
# (so that the committed corpus never grows); prints how long each ran and
# what it found, and fails on any finding. Logs, work corpora and the inputs
# that failed stay in BUILD_DIR.
#   run_fuzzers.sh BUILD_DIR SECONDS [fuzz_NAME...]
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$1
seconds=$2
shift 2
fuzzers=("$@")
if [ ${#fuzzers[@]} -eq 0 ]; then
  for source in "$here"/fuzz_*.cpp; do fuzzers+=("$(basename "$source" .cpp)"); done
fi

failed=0
for fuzzer in "${fuzzers[@]}"; do
  if [ ! -x "$build/$fuzzer" ] || [ ! -d "$here/corpus/$fuzzer" ]; then
    echo "$fuzzer: no such fuzzer, or no seeds for it"
    failed=1
    continue
  fi
  work="$build/work/$fuzzer" findings="$build/findings/$fuzzer" log="$build/logs/$fuzzer.log"
  rm -rf "$work"
  mkdir -p "$work" "$findings" "$build/logs"
  cp "$here/corpus/$fuzzer"/* "$work"/
  start=$(date +%s)
  "$build/$fuzzer" -max_total_time="$seconds" -artifact_prefix="$findings/" "$work" > "$log" 2>&1
  status=$?
  elapsed=$(($(date +%s) - start))
  if [ $status -eq 0 ]; then
    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log")
    coverage=$(sed -n 's/.*DONE *cov: \([0-9]*\).*/\1/p' "$log")
    echo "$fuzzer: ran $elapsed s, $runs runs, $coverage edges covered, found nothing"
  else
    failed=1
    echo "$fuzzer: FOUND a fault after $elapsed s (exit $status); $log:"
    grep -E '(ERROR|SUMMARY|Test unit written)' "$log" | sed 's/^/  /'
  fi
done
exit $failed
