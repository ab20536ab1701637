#!/usr/bin/env bash
# Runs each fuzzer, or those named, for SECONDS on a fresh copy of its seeds
# (so that the committed corpus never grows); prints what each ran and found,
# and fails on any finding. Logs, work corpora and the inputs that failed
# stay in BUILD_DIR.
#   run_fuzzers.sh BUILD_DIR SECONDS [fuzz_NAME...]
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$1 seconds=$2
shift 2
fuzzers=("$@")
if [ ${#fuzzers[@]} -eq 0 ]; then
  for source in "$here"/fuzz_*.cpp; do fuzzers+=("$(basename "$source" .cpp)"); done
fi

failed=0
for fuzzer in "${fuzzers[@]}"; do
  work="$build/work/$fuzzer" findings="$build/findings/$fuzzer" log="$build/logs/$fuzzer.log"
  rm -rf "$work"
  mkdir -p "$work" "$findings" "$build/logs"
  # No fuzzer or no seeds fails as a finding does.
  if cp "$here/corpus/$fuzzer"/* "$work"/ && "$build/$fuzzer" -max_total_time="$seconds" \
      -artifact_prefix="$findings/" "$work" > "$log" 2>&1; then
    echo "$fuzzer: $(grep -m1 '^Done' "$log"); found nothing"
  else
    failed=1
    echo "$fuzzer: FAILED; $log:"
    grep -E '(ERROR|SUMMARY|Test unit written)' "$log" 2>/dev/null | sed 's/^/  /'
  fi
done
exit $failed
