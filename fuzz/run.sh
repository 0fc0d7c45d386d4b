#!/usr/bin/env bash
# Runs the PDF fuzzer for the given number of seconds on a fresh copy of the seed corpus.
# A crashing input is left in fuzz/crashes/; add it to tests/data/fuzz as a regression case.
set -euo pipefail
cd "$(dirname "$0")/.."
fuzzer=$1
seconds=${2:-60}
work=fuzz/corpus-work
rm -rf "$work" && mkdir -p "$work" fuzz/crashes
bash fuzz/make-seeds.sh "$work"
cp tests/data/fuzz/* "$work"/ 2>/dev/null || true
ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1 QT_QPA_PLATFORM=offscreen \
  "$fuzzer" "$work" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=2048 \
  -artifact_prefix=fuzz/crashes/ -print_final_stats=1
